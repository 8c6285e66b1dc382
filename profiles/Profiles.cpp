// profile store
