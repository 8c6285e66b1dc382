#include "common/CodePage.h"
#include "platform/CommandLine.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace velmar {

ProgramCommandLine ReadProgramCommandLine(int argc, char** argv) {
    ProgramCommandLine line;
    std::wstring module(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    module.resize(length > 0 && length < module.size() ? length : 0);
    line.ExecutableFolder = detail::ExecutableFolderOf(WideToUtf8(module), argc > 0 ? argv[0] : nullptr);

    // The command line is read once; the arguments and the start-up rules'
    // text both come from it.
    const wchar_t* commandLine = GetCommandLineW();
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(commandLine, &count);
    if (wide != nullptr) {
        for (int i = 1; i < count; ++i) {
            line.Arguments.push_back(WideToUtf8(wide[i]));
        }
        LocalFree(static_cast<HLOCAL>(wide));
    } else {
        for (int i = 1; i < argc; ++i) {
            line.Arguments.emplace_back(argv[i]);
        }
    }
    std::string text = CommandLineAfterProgramName(WideToUtf8(commandLine));
    if (!text.empty()) {
        line.StartupArguments.push_back(std::move(text));
    }
    return line;
}

} // namespace velmar
