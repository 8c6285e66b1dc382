#include "platform/ConsoleProgram.h"

namespace velmar {

// The arguments already are UTF-8 and the console shows UTF-8: nothing to change.
ConsoleProgram::ConsoleProgram(int& argc, char**& argv) : m_CommandLine(ReadProgramCommandLine(argc, argv)) {}

ConsoleProgram::~ConsoleProgram() = default;

void AttachToParentConsole() {}

} // namespace velmar
