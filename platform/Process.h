#pragma once

// The running process: its environment, its standard error, and how the
// launcher hands over to another executable.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velmar {

// Reads an environment variable; none when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
std::optional<std::string> ProcessEnvironment(const char* name);

// While it exists, whatever the process writes to its standard error (file
// descriptor 2, so libraries' own prints as well) goes to a temporary file
// instead. Text() reads what was held; Release() writes it to the real
// standard error. Either way standard error is restored when it goes. Nothing
// is held where the platform has no such descriptors (Windows).
class HeldStandardError {
public:
    HeldStandardError();
    ~HeldStandardError();
    HeldStandardError(const HeldStandardError&) = delete;
    HeldStandardError& operator=(const HeldStandardError&) = delete;

    std::string Text() const;
    void Release();

private:
    void Restore();
    int m_Saved = -1;
    int m_Held = -1;
};

// Replaces the process with the first of `candidates` that exists, passing
// `arguments` (argv[0] first). Returns only when none could be started, with
// the reason ("cannot find ..." or "cannot start PATH: reason"). POSIX only.
std::string ExecFirst(const std::vector<std::string>& candidates, const std::vector<std::string>& arguments);

} // namespace velmar
