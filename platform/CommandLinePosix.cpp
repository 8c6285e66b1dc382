#include "platform/CommandLine.h"

#include <array>
#include <unistd.h>

namespace velmar {

namespace {

// The executable's path as the kernel names it, or empty. Read with readlink
// itself: the program asks this at every start, and the start of the console
// front end is measured against a program that does nothing.
std::string SelfExecutable() {
    std::array<char, 4096> buffer{};
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= buffer.size() || buffer[0] != '/') {
        return {};
    }
    return {buffer.data(), static_cast<std::size_t>(length)};
}

} // namespace

ProgramCommandLine ReadProgramCommandLine(int argc, char** argv) {
    ProgramCommandLine line;
    const std::string self = SelfExecutable();
    if (const auto slash = self.rfind('/'); slash != std::string::npos) {
        line.ExecutableFolder = slash == 0 ? std::string("/") : self.substr(0, slash);
    } else {
        line.ExecutableFolder = detail::ExecutableFolderOf({}, argc > 0 ? argv[0] : nullptr);
    }
    for (int i = 1; i < argc; ++i) {
        line.Arguments.emplace_back(argv[i]);
    }
    line.StartupArguments = line.Arguments;
    return line;
}

} // namespace velmar
