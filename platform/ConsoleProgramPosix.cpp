#include "platform/ConsoleProgram.h"

#include <poll.h>
#include <unistd.h>

namespace velmar {

// The arguments already are UTF-8 and the console shows UTF-8: nothing to change.
ConsoleProgram::ConsoleProgram(int& argc, char**& argv) : m_CommandLine(ReadProgramCommandLine(argc, argv)) {}

ConsoleProgram::~ConsoleProgram() = default;

void AttachToParentConsole() {}

bool StandardOutputReaderGone() {
    // poll() reports an error on the writing end of a pipe whose reading end
    // is closed (and a hang-up for a socket), whatever events were asked for.
    pollfd output{STDOUT_FILENO, 0, 0};
    return ::poll(&output, 1, 0) > 0 && (output.revents & (POLLERR | POLLHUP)) != 0;
}

} // namespace velmar
