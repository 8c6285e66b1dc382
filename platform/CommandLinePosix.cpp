#include "common/Paths.h"
#include "platform/CommandLine.h"

#include <filesystem>
#include <system_error>

namespace velmar {

ProgramCommandLine ReadProgramCommandLine(int argc, char** argv) {
    ProgramCommandLine line;
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    line.ExecutableFolder = detail::ExecutableFolderOf(
        !error && self.is_absolute() ? PathToUtf8(self) : std::string(), argc > 0 ? argv[0] : nullptr);
    for (int i = 1; i < argc; ++i) {
        line.Arguments.emplace_back(argv[i]);
    }
    line.StartupArguments = line.Arguments;
    return line;
}

} // namespace velmar
