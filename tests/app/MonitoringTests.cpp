// The monitor's outputs for monitoring systems: its options, the service's
// status line, and the metrics file following the reload cycle.

#include "app/MainWindow.h"
#include "app/Monitoring.h"
#include "common/Paths.h"
#include "tests/support/ProfileFileWriter.h"
#include "tests/support/RecordingDesktop.h"
#include "tests/support/TestFiles.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace velmar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;

TEST(MonitoringOptions, TakesItsOptionsAndLeavesEveryOtherArgumentInOrder) {
    struct Case {
        std::vector<std::string> Arguments;
        std::optional<std::string> File;
        std::optional<ListenAddress> Listen;
        std::vector<std::string> Others;
    };
    const std::vector<Case> cases = {
        {{}, std::nullopt, std::nullopt, {}},
        {{"/PATH:/srv/a b"}, std::nullopt, std::nullopt, {"/PATH:/srv/a b"}},
        {{"/PATH:/srv/a", "--metrics-file", "/var/lib/velmar.prom"},
         "/var/lib/velmar.prom",
         std::nullopt,
         {"/PATH:/srv/a"}},
        {{"--metrics-listen=9772", "/PATH:/srv/x=y"},
         std::nullopt,
         ListenAddress{"127.0.0.1", 9772},
         {"/PATH:/srv/x=y"}},
        {{"/PATH:", "/srv/a", "--metrics-listen", "[::1]:9100", "--metrics-file=m.prom", "--other"},
         "m.prom",
         ListenAddress{"::1", 9100},
         {"/PATH:", "/srv/a", "--other"}},
        {{"--metrics-listen", "0.0.0.0:9772"}, std::nullopt, ListenAddress{"0.0.0.0", 9772}, {}},
    };
    for (const Case& c : cases) {
        const MonitoringOptions options = ParseMonitoringOptions(c.Arguments);
        EXPECT_EQ(options.MetricsFile, c.File) << ::testing::PrintToString(c.Arguments);
        EXPECT_EQ(options.MetricsListen, c.Listen) << ::testing::PrintToString(c.Arguments);
        EXPECT_EQ(options.OtherArguments, c.Others) << ::testing::PrintToString(c.Arguments);
        EXPECT_EQ(options.Given(), c.File || c.Listen);
        EXPECT_EQ(&FolderArguments(options, c.Arguments),
                  options.Given() ? &options.OtherArguments : &c.Arguments)
            << "the start-up rules read the command line as it is unless an option was taken out";
    }
}

TEST(MonitoringOptions, AMisusedOptionIsAUsageErrorThatSaysWhat) {
    struct Case {
        std::vector<std::string> Arguments;
        std::string Message;
    };
    const std::vector<Case> cases = {
        {{"/PATH:/srv/a", "--metrics-file"}, "--metrics-file needs FILE"},
        {{"--metrics-file="}, "--metrics-file needs FILE"},
        {{"--metrics-listen"}, "--metrics-listen needs ADDRESS:PORT"},
        {{"--metrics-file", "a", "--metrics-file=b"}, "--metrics-file is given more than once"},
        {{"--metrics-listen", "1", "--metrics-listen", "2"}, "--metrics-listen is given more than once"},
        {{"--metrics-listen", "127.0.0.1:70000"},
         "--metrics-listen: metrics address \"127.0.0.1:70000\": the port must be a number from 0 to 65535"},
        {{"--metrics-listen=::1:80"},
         "--metrics-listen: metrics address \"::1:80\": an IPv6 address goes in brackets: [ADDRESS]:PORT"},
    };
    for (const Case& c : cases) {
        try {
            ParseMonitoringOptions(c.Arguments);
            ADD_FAILURE() << "accepted " << ::testing::PrintToString(c.Arguments);
        } catch (const ProgramUsageError& error) {
            EXPECT_EQ(error.Message(), c.Message);
        }
    }
}

TEST(MonitoringOptions, AHostNameIsRefusedWhenTheEndpointStarts) {
    if (!MetricsServer::Available()) {
        GTEST_SKIP() << "this build has no metrics endpoint";
    }
    std::ostringstream err;
    MonitoringOptions options;
    options.MetricsListen = ParseListenAddress("example.org:9772");
    try {
        MonitoringOutputs outputs(options, err);
        ADD_FAILURE() << "listening on a host name";
    } catch (const ProgramUsageError& error) {
        EXPECT_EQ(
            error.Message(),
            "--metrics-listen: metrics address \"example.org:9772\": not a numeric IPv4 or IPv6 address");
    }
    EXPECT_EQ(err.str(), "");
}

TEST(ServiceStatus, CountsTheProfilesAndNamesTheFirstProblem) {
    ReloadSnapshot snapshot;
    EXPECT_EQ(ServiceStatusText(snapshot), "0 profiles, 0 active");
    snapshot.Profiles = {{"Profile_0001.dat", "Natt", true}};
    EXPECT_EQ(ServiceStatusText(snapshot), "1 profile, 1 active");
    snapshot.Profiles.push_back({"Profile_0002.dat", "Kontor", false});
    snapshot.Problems = {{LoadProblemKind::FileUnreadable, "Profile_0003.dat", "permission denied"},
                         {LoadProblemKind::TooShort, "Profile_0004.dat", ""}};
    EXPECT_EQ(ServiceStatusText(snapshot), "2 profiles, 1 active; Profile_0003.dat: permission denied");
}

// The window on recording controls over a real data folder, with the
// monitoring outputs hooked to its reload cycle.
class MetricsFile : public ::testing::Test {
protected:
    MetricsFile()
        : m_Main({m_Desktop.Window, m_Desktop.List, m_Desktop.ImageList, m_Desktop.Timer, m_Desktop.Tray,
                  m_Desktop.Wait, m_Desktop.Busy},
                 DataFolder::FromCommandLine("/opt/velmar", {"/PATH:" + m_Data.File("")})) {
        fs::create_directory(m_Data.Path() / "Profiles");
    }

    void Write(bool active, std::chrono::seconds time) {
        const fs::path file = m_Data.Path() / "Profiles" / "Profile_0001.dat";
        test::WriteProfileFile(file, "Natt", active);
        fs::last_write_time(file, test::LocalMidnightPlus(8h + time));
    }
    void Start(const std::string& metricsFile) {
        MonitoringOptions options;
        options.MetricsFile = metricsFile;
        m_Outputs.emplace(options, m_Err);
        m_Outputs->Watch(m_Main);
        m_Desktop.Window.Create(m_Main);
        m_Desktop.Wait.Elapse();
    }
    void Tick() {
        m_Desktop.Timer.Tick();
        m_Desktop.Wait.Elapse();
    }
    // The value of the first sample of `metric` in `text`.
    static std::string Sample(const std::string& text, const std::string& metric) {
        const std::size_t line = text.find("\n" + metric + "{");
        const std::size_t value = text.find("} ", line);
        return line == std::string::npos || value == std::string::npos
                   ? std::string()
                   : text.substr(value + 2, text.find('\n', value) - value - 2);
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(PathFromUtf8(path), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test::TempDir m_Data;
    test::TempDir m_Out;
    std::ostringstream m_Err;
    std::optional<MonitoringOutputs> m_Outputs;
    RecordingDesktop m_Desktop;
    VelmarActiveProfiles_Main m_Main;
};

TEST_F(MetricsFile, FollowsEveryReloadAndIsLeftAloneBetweenThem) {
    const std::string path = m_Out.File("velmar.prom");
    Write(false, 0s);
    Start(path);
    EXPECT_THAT(Read(path), HasSubstr("profile=\"Natt\"} 0\n"));
    EXPECT_EQ(Sample(Read(path), "velmar_reloads_total"), "1");

    fs::last_write_time(PathFromUtf8(path), test::LocalMidnightPlus(1h));
    Tick();
    EXPECT_EQ(fs::last_write_time(PathFromUtf8(path)), test::LocalMidnightPlus(1h))
        << "an idle tick writes nothing";

    Write(true, 1s);
    Tick();
    EXPECT_THAT(Read(path), HasSubstr("profile=\"Natt\"} 1\n"));
    EXPECT_EQ(Sample(Read(path), "velmar_reloads_total"), "2");
    EXPECT_FALSE(fs::exists(PathFromUtf8(path + "~"))) << "no backup beside it";
    EXPECT_EQ(m_Err.str(), "");
}

TEST_F(MetricsFile, ThatCannotBeWrittenIsSaidOnceAndWrittenOnceItCanBe) {
    const std::string path = m_Out.File("missing") + kPathSeparator + "velmar.prom";
    Write(false, 0s);
    Start(path);
    Write(true, 1s);
    Tick();
    const std::string said = m_Err.str();
    EXPECT_THAT(said,
                ::testing::StartsWith("velmar-active-profiles: metrics file \"" + path + "\" not written: "));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(m_Desktop.List.Rows().front().SmallImage, kImageActive) << "the cycle goes on";

    fs::create_directory(m_Out.Path() / "missing");
    Write(false, 2s);
    Tick();
    EXPECT_THAT(Read(path), HasSubstr("profile=\"Natt\"} 0\n"));
    EXPECT_EQ(m_Err.str(), said + "velmar-active-profiles: metrics file \"" + path + "\" written again\n");
}

} // namespace
} // namespace velmar
