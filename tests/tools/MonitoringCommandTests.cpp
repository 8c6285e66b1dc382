// velmar-profiles check and metrics on real data folders: the check's four
// exit statuses, each with its one line, and the metrics' exit status.

#include "common/Paths.h"
#include "tests/support/ProfileFileWriter.h"
#include "tests/support/TestFiles.h"
#include "tests/tools/ToolRun.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace velmar::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

class MonitoringCommands : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(m_Dir.Path() / "Profiles");
        WriteProfileFile(m_Dir.Path() / "Profiles" / "Profile_0001.dat", "Natt", true);
        WriteProfileFile(m_Dir.Path() / "Profiles" / "Profile_0002.dat", "Kontor", false);
    }

    std::string Folder() const { return "/PATH:" + PathToUtf8(m_Dir.Path()); }
    std::string Missing() const { return "/PATH:" + PathToUtf8(m_Dir.Path() / "missing"); }

private:
    TempDir m_Dir;
};

TEST_F(MonitoringCommands, TheCheckGivesEachStatusWithOneLineThatSaysIt) {
    struct Case {
        tool::Arguments Args;
        int Status;
        std::string Start;
    };
    const std::vector<Case> cases = {
        {{Folder()}, 0, "VELMAR OK - 1 of 2 profiles active | "},
        {{Folder(), "--active", "Natt", "--inactive", "Kontor", "--min-active", "1"}, 0, "VELMAR OK - "},
        {{Folder(), "--inactive", "Natt"}, 1, "VELMAR WARNING - \"Natt\" is active; "},
        {{"--active", "Kontor", Folder()}, 2, "VELMAR CRITICAL - \"Kontor\" is inactive; "},
        {{Folder(), "--min-active", "2"}, 2, "VELMAR CRITICAL - fewer than 2 active; "},
        {{Missing()}, 2, "VELMAR CRITICAL - Profiles folder not found: "},
        {{Folder(), "--min-active", "-1"}, 3, "VELMAR UNKNOWN - --min-active needs a number from 0 up"},
        {{Folder(), "--max-problems"}, 3, "VELMAR UNKNOWN - --max-problems needs N"},
        {{Folder(), "--warning", "1"}, 3, "VELMAR UNKNOWN - unknown option \"--warning\""},
        {{Folder(), "--help"}, 3, "velmar-profiles check "},
        {{"-V"}, 3, "velmar-profiles check "},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool("check", c.Args);
        const std::string line = run.Out.substr(0, run.Out.find('\n') + 1);
        EXPECT_EQ(run.Status, c.Status) << line;
        EXPECT_THAT(run.Out, StartsWith(c.Start));
        EXPECT_EQ(run.Err, "");
        if (c.Start.starts_with("VELMAR")) {
            EXPECT_EQ(line, run.Out) << "one line";
        }
    }
}

TEST_F(MonitoringCommands, MetricsPrintedAlsoForAFolderThatCannotBeReadWithStatusOne) {
    const ToolRun good = RunTool("metrics", {Folder()});
    EXPECT_EQ(good.Status, 0);
    EXPECT_THAT(good.Out, HasSubstr(",file=\"Profile_0001.dat\",profile=\"Natt\"} 1\n"));
    EXPECT_THAT(good.Out, HasSubstr("} 1\n# HELP velmar_last_reload_timestamp_seconds"));

    const ToolRun missing = RunTool("metrics", {Missing()});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_THAT(missing.Out, HasSubstr("velmar_folder_readable{folder="));
    EXPECT_THAT(missing.Out, HasSubstr("} 0\n# HELP velmar_last_reload_timestamp_seconds"));
}

} // namespace
} // namespace velmar::test
