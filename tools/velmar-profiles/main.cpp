#include "platform/ConsoleProgram.h"
#include "tools/velmar-profiles/Commands.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    const velmar::ConsoleProgram console(argc, argv);
    int status = velmar::tool::RunToolCommandLine(console.CommandLine(), std::cout, std::cerr);
    // Output that did not reach its file is a failure, not a success with
    // nothing to show: a full disk, a closed pipe, >/dev/full.
    errno = 0;
    std::cout.flush();
    if (!std::cout || std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        const int reason = errno;
        std::cerr << "velmar-profiles: cannot write to standard output"
                  << (reason != 0 ? std::string(": ") + std::strerror(reason) : std::string()) << '\n';
        if (status == 0) {
            status = 1;
        }
    }
    return status;
}
