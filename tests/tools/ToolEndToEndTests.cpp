// The real velmar-profiles executable: what reaches the files and the exit
// status when its output cannot be written.

#include "tests/support/TestFiles.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <vector>

namespace velmar::test {
namespace {

struct ProcessRun {
    int Status = -1;
    std::string Output; // standard error, and standard output when not redirected
};

// Runs the executable with `arguments`, each quoted for the shell, in a shell
// line: `before` and `after` the tool (limits, redirections). Standard error
// is read.
ProcessRun RunShell(std::string_view before, const std::vector<std::string>& arguments,
                    std::string_view after) {
    // Under the sanitizers the leak checker reports the suppressions it used on
    // standard error, which is not the tool's output.
    std::string command = "{ export LSAN_OPTIONS=\"${LSAN_OPTIONS:+$LSAN_OPTIONS:}print_suppressions=0\"; ";
    command += before;
    command += " '" VELMAR_PROFILES_EXE "'";
    for (const std::string& argument : arguments) {
        command += " '";
        command += argument;
        command += "'";
    }
    command += ' ';
    command += after;
    command += "; } 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ProcessRun run;
    if (pipe == nullptr) {
        return run;
    }
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
        run.Output += buffer.data();
    }
    const int status = pclose(pipe);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(ToolEndToEnd, ListPrintsTheTooltipOfThisPlatformsTray) {
    // XEmbed and StatusNotifierItem trays show any length: the example data's
    // four active profiles are named in full, none cut at 54 characters.
    const ProcessRun run = RunShell("", {"list", "/PATH:" VELMAR_EXAMPLE_PROFILES_DIR "/.."}, "");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_NE(run.Output.find(
                  "tooltip: Aktiva profiler:\\n\xC2\xB7 Nattlarm Lager\\n\xC2\xB7 Server room\\n\xC2\xB7 "
                  "Weekend patrol\\n\xC2\xB7 \xC3\x85sa hemtj\xC3\xA4nst\n"),
              std::string::npos)
        << run.Output;
}

TEST(ToolEndToEnd, OutputThatCannotBeWrittenIsAFailure) {
    const std::string profile = VELMAR_EXAMPLE_PROFILES_DIR "/Profile_0002.dat";
    const std::vector<std::vector<std::string>> cases = {{"--help"}, {"--version"}, {"show", profile}};
    for (const auto& arguments : cases) {
        const ProcessRun run = RunShell("", arguments, ">/dev/full");
        EXPECT_EQ(run.Status, 1) << arguments.front();
        EXPECT_EQ(run.Output, "velmar-profiles: cannot write to standard output: No space left on device\n")
            << arguments.front();
    }
    EXPECT_EQ(RunShell("", {"--version"}, ">/dev/null").Status, 0);
}

// A full disk while the picture is written: a file may grow to one block of
// 512 bytes (ulimit -f), and the signal that would end the process is ignored
// so that the writes fail as they do on a full disk.
TEST(ToolEndToEnd, APictureThatCannotBeWrittenIsAnErrorAndLeavesNoFile) {
    TempDir dir;
    const std::string profile = VELMAR_EXAMPLE_PROFILES_DIR "/Profile_0002.dat";
    const std::string calendar = dir.File("empty.cal");
    std::ofstream(calendar, std::ios::binary) << std::string(29220, '\0');
    const std::string png = dir.File("out.png");
    const std::vector<std::vector<std::string>> cases = {
        {"render-schedule", profile, "--out", png},
        {"render-calendar", calendar, "--month", "2026-12", "--out", png},
    };
    for (const auto& arguments : cases) {
        const ProcessRun run = RunShell("trap '' XFSZ; ulimit -f 1;", arguments, ">/dev/null");
        EXPECT_EQ(run.Status, 1) << arguments.front();
        EXPECT_EQ(std::count(run.Output.begin(), run.Output.end(), '\n'), 1) << run.Output;
        EXPECT_NE(run.Output.find("cannot write the PNG file"), std::string::npos) << run.Output;
        // Neither the picture nor a temporary file is left beside the calendar.
        const auto left = std::distance(std::filesystem::directory_iterator(dir.Path()),
                                        std::filesystem::directory_iterator());
        EXPECT_EQ(left, 1) << arguments.front();
    }
    // Without the limit the same command writes its picture.
    EXPECT_EQ(RunShell("", cases.front(), ">/dev/null").Status, 0);
    EXPECT_GT(std::filesystem::file_size(png), 512U);
}

} // namespace
} // namespace velmar::test
