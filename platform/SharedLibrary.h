#pragma once
// A library of the system loaded while the program runs, for what only some
// runs need (the metrics server, the service manager's notifications), so
// that the others never load it nor what it brings. Loaded libraries stay
// loaded to the end of the run.

#include <string>

namespace velmar {

class SharedLibrary {
public:
    // Loads the library of that soname; FileError "cannot load SONAME: REASON"
    // when it cannot be loaded.
    explicit SharedLibrary(std::string soname);

    // Sets `function` to the library's function `name`; FileError "cannot use
    // SONAME: it has no NAME" when the library has none.
    template <typename Function> void Bind(const char* name, Function& function) const {
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
        function = reinterpret_cast<Function>(Symbol(name));
    }

private:
    void* Symbol(const char* name) const;

    std::string m_Soname;
    void* m_Handle = nullptr;
};

} // namespace velmar
