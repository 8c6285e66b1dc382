#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velmar Active Profiles on the
# bundled example data folder: the tray program when a desktop session is
# present, the console front end otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
exec build/default/app/velmar-active-profiles "/PATH:$PWD/examples/Project" "$@"
