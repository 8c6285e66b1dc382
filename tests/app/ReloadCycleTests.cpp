#include "app/ConsoleFrontEnd.h"
#include "app/MainWindow.h"
#include "common/CodePage.h"
#include "common/Paths.h"
#include "profiles/ProfileStore.h"
#include "report/ProfileList.h"
#include "tests/support/FileFaults.h"
#include "tests/support/ProfileFileWriter.h"
#include "tests/support/RecordingDesktop.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sstream>

namespace velmar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// A window on recording controls over a real data folder, counting loads.
class ReloadCycle : public ::testing::Test {
protected:
    ReloadCycle()
        : m_Main({m_Desktop.Window, m_Desktop.List, m_Desktop.ImageList, m_Desktop.Timer, m_Desktop.Tray,
                  m_Desktop.Wait, m_Desktop.Busy},
                 DataFolder::FromCommandLine("/opt/velmar", {"/PATH:" + m_Data.File("")})) {
        m_Main.ProfileLoader =
            [this, load = m_Main.ProfileLoader](const ChangeSignature* listing) -> const ProfileLoad& {
            ++m_Loads;
            return load(listing);
        };
        fs::create_directory(Folder());
    }

    fs::path Folder() const { return m_Data.Path() / "Profiles"; }
    fs::path File(int number) const {
        std::array<char, 32> name{};
        std::snprintf(name.data(), name.size(), "Profile_%04d.dat", number);
        return Folder() / name.data();
    }
    void Write(int number, const std::string& name, bool active, fs::file_time_type time) {
        test::WriteProfileFile(File(number), name, active);
        fs::last_write_time(File(number), time);
    }
    // The load step, and the wait of its first tick.
    void Start() {
        m_Desktop.Window.Create(m_Main);
        m_Desktop.Wait.Elapse();
    }
    // One tick, and its wait when it started one; true when it loaded the profiles.
    bool Tick() {
        const int before = m_Loads;
        m_Desktop.Timer.Tick();
        m_Desktop.Wait.Elapse();
        return m_Loads != before;
    }

    test::TempDir m_Data;
    RecordingDesktop m_Desktop;
    VelmarActiveProfiles_Main m_Main;
    int m_Loads = 0;
};

TEST_F(ReloadCycle, EmptyFolderLoadsAtStartAndSetsTheHeading) {
    Start();
    EXPECT_EQ(m_Loads, 1) << "no signature before the first tick";
    EXPECT_EQ(m_Desktop.Tray.ToolTipText(), "Aktiva profiler:");
    EXPECT_TRUE(m_Desktop.List.Rows().empty());

    EXPECT_FALSE(Tick());
    Write(1, "Alpha", true, test::LocalMidnightPlus(10h));
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.List.Rows().size(), 1u);
    EXPECT_EQ(m_Desktop.Tray.ToolTipText(),
              std::string("Aktiva profiler:") + std::string(kToolTipLineBreak) + "\xC2\xB7 Alpha");
}

TEST_F(ReloadCycle, ShowsTheBusyPointerAroundTheLoadEvenWhenAStepFails) {
    Write(1, "Alpha", true, test::LocalMidnightPlus(10h));
    Start();
    EXPECT_EQ(m_Desktop.Log.CallsStartingWith("Busy="),
              (std::vector<std::string>{"Busy=true", "Busy=false"}));
    // A pointer that cannot be changed does not stop the load.
    m_Desktop.Log.Failing.insert("Busy.SetBusy");
    Write(1, "Alpha", false, test::LocalMidnightPlus(11h));
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.List.Rows().size(), 1U);
}

TEST_F(ReloadCycle, MissingProfilesFolderLoadsNothingAndSaysSo) {
    fs::remove(Folder());
    Start();
    EXPECT_EQ(m_Loads, 1);
    EXPECT_EQ(m_Desktop.Tray.ToolTipText(),
              Utf8Left(std::string("Aktiva profiler:") + std::string(kToolTipLineBreak) +
                           "Profiles folder not found: " + m_Data.File("Profiles") + kPathSeparator,
                       16 + std::string(kToolTipLineBreak).size() + 59) +
                  "\xE2\x80\xA6");
    EXPECT_FALSE(Tick()) << "a folder still missing is no change";
}

TEST_F(ReloadCycle, UnchangedFolderReadsNoFile) {
    Write(1, "Alpha", true, test::LocalMidnightPlus(8h));
    Write(2, "Beta", false, test::LocalMidnightPlus(9h));
    Start();
    ASSERT_EQ(m_Loads, 1);
    const auto waits = m_Desktop.Log.CallsStartingWith("Wait.").size();
    EXPECT_FALSE(Tick());
    EXPECT_FALSE(Tick());
    EXPECT_EQ(m_Desktop.Log.CallsStartingWith("Wait.").size(), waits) << "no wait without a change";
    EXPECT_EQ(m_Desktop.Tray.ToolTipAssignments(), 1);
}

TEST_F(ReloadCycle, EveryKindOfChangeReloads) {
    const auto base = test::LocalMidnightPlus(9h + 15min);
    struct Change {
        const char* Title;
        std::function<void()> Apply;
    };
    const std::vector<Change> changes = {
        {"rewritten with a new time", [&] { Write(1, "Alpha", false, base + 1min); }},
        {"same time of day on another date", [&] { Write(1, "Alpha", true, base + 1min + 24h); }},
        {"new file written at midnight", [&] { Write(3, "Gamma", true, test::LocalMidnightPlus(0s)); }},
        {"size changed, time kept", [&] { Write(1, "Alpha with a longer name", true, base + 1min + 24h); }},
        {"file deleted", [&] { fs::remove(File(2)); }},
        {"file renamed", [&] { fs::rename(File(3), File(4)); }},
        // One file an hour earlier, another an hour later, sizes kept: a sum
        // of the times of day would not move.
        {"two changes that cancel out in the time of day",
         [&] {
             Write(1, "Alpha with a longer name", true, base + 1min + 24h - 1h);
             Write(4, "Gamma", true, test::LocalMidnightPlus(1h));
         }},
    };
    Write(1, "Alpha", true, base);
    Write(2, "Beta", true, base);
    Start();
    for (const auto& change : changes) {
        change.Apply();
        EXPECT_TRUE(Tick()) << change.Title;
        EXPECT_FALSE(Tick()) << change.Title << ": the next tick sees no change";
    }
    ASSERT_EQ(m_Desktop.List.Rows().size(), 2u);
    EXPECT_EQ(m_Desktop.List.Rows()[0].Text, "Alpha with a longer name");
    EXPECT_EQ(m_Desktop.List.Rows()[1].Text, "Gamma");
}

TEST_F(ReloadCycle, TheLoadReadsWhatTheTickListedAndTheNextTickTheRest) {
    const auto base = test::LocalMidnightPlus(7h);
    Write(1, "Alpha", true, base);
    Write(2, "Beta", true, base);
    m_Desktop.Window.Create(m_Main);
    ASSERT_TRUE(m_Desktop.Wait.Pending());
    // During the wait: one file appears, one is gone.
    Write(3, "Gamma", true, base);
    fs::remove(File(2));
    m_Desktop.Wait.Elapse();
    EXPECT_EQ(m_Desktop.List.Rows(), (std::vector<ListRow>{{"Alpha", kImageActive}}));
    EXPECT_EQ(m_Desktop.Window.Status().Problems,
              std::vector<std::string>{"Profile_0002.dat: gone before it could be read"});

    EXPECT_TRUE(Tick()) << "the signature stored is the one before the wait";
    EXPECT_EQ(m_Desktop.List.Rows(),
              (std::vector<ListRow>{{"Alpha", kImageActive}, {"Gamma", kImageActive}}));
    EXPECT_TRUE(m_Desktop.Window.Status().Problems.empty());
    EXPECT_FALSE(Tick());
}

TEST_F(ReloadCycle, ShowsTheChangedFlag) {
    const auto base = test::LocalMidnightPlus(12h);
    Write(7, "Nattlarm", false, base);
    Start();
    ASSERT_EQ(m_Desktop.List.Rows().size(), 1u);
    EXPECT_EQ(m_Desktop.List.Rows()[0].SmallImage, kImageInactive);
    Write(7, "Nattlarm", true, base + 1s);
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.List.Rows()[0].SmallImage, kImageActive);
}

TEST_F(ReloadCycle, FilesThatAreNotProfilesDoNotCount) {
    Start();
    test::WriteFileBytes(Folder() / "Profile_1.dat", {1, 2});
    test::WriteFileBytes(Folder() / "readme.txt", {1, 2});
    fs::create_directory(Folder() / "Profiles.old");
    EXPECT_FALSE(Tick());
    test::WriteFileBytes(Folder() / "profile_0005.DAT", {1});
    EXPECT_TRUE(Tick()) << "names match without regard to letter case";
    // A folder named like a profile is no profile, but the user is told of it.
    fs::create_directory(Folder() / "Profile_0009.dat");
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.Window.Status().Problems,
              (std::vector<std::string>{"profile_0005.DAT: too short to hold a format version",
                                        "Profile_0009.dat: is a directory"}));
}

// What the monitoring outputs hear: every reload with what it found and
// how many there were, and every tick, a tick skipped while a reload is
// under way included (the service's watchdog). A hook that fails stops
// nothing.
TEST_F(ReloadCycle, EveryReloadAndEveryTickReachTheMonitoringHooks) {
    std::vector<ReloadSnapshot> reloads;
    int ticks = 0;
    m_Main.Reloaded = [&](const ReloadSnapshot& snapshot) { reloads.push_back(snapshot); };
    m_Main.Ticked = [&] { ++ticks; };
    const auto base = test::LocalMidnightPlus(6h);
    Write(1, "Alpha", false, base);
    Start();
    ASSERT_EQ(reloads.size(), 1U);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(reloads[0].Reloads, 1U);
    EXPECT_EQ(reloads[0].Profiles, (std::vector<ProfileState>{{"Profile_0001.dat", "Alpha", false}}));
    EXPECT_EQ(reloads[0].Folder, m_Main.Folder().DataPath());
    EXPECT_GE(reloads[0].ReloadDuration, 0.0);
    EXPECT_GT(reloads[0].ReloadTime, 1.7e9);

    EXPECT_FALSE(Tick());
    EXPECT_EQ(ticks, 2);
    EXPECT_EQ(reloads.size(), 1U) << "an idle tick is no reload";

    Write(1, "Alpha", true, base + 1s);
    m_Desktop.Timer.Tick();
    m_Desktop.Timer.Tick(); // skipped: the wait runs
    m_Desktop.Wait.Elapse();
    EXPECT_EQ(ticks, 4);
    ASSERT_EQ(reloads.size(), 2U);
    EXPECT_EQ(reloads[1].Reloads, 2U);
    EXPECT_TRUE(reloads[1].Profiles.at(0).Active);

    m_Main.Reloaded = [](const ReloadSnapshot&) { throw FileError("the metrics file cannot be written"); };
    m_Main.Ticked = [] { throw HostCallError("the service manager is gone"); };
    Write(1, "Alpha", false, base + 2s);
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.List.Rows(), (std::vector<ListRow>{{"Alpha", kImageInactive}}));
    EXPECT_FALSE(Tick());
}

class ReloadCycleFault;

// A fault of the data folder that the user must see wherever the profiles are
// shown, and that is no longer shown once it is mended.
struct Fault {
    const char* Title;
    bool AtStart; // broken before the program starts, or while it runs
    std::function<void(ReloadCycleFault&)> Break;
    std::function<void(ReloadCycleFault&)> Mend;
    const char* Problem; // part of the problem's line
    bool Retried;        // a file that could not be read is tried again at every tick
};

void PrintTo(const Fault& fault, std::ostream* out) {
    *out << fault.Title;
}

class ReloadCycleFault : public ReloadCycle, public ::testing::WithParamInterface<Fault> {
public:
    fs::path ProfileFile(int number) const { return File(number); }
    fs::path ProfilesFolder() const { return Folder(); }
    // A good profile file, each write with a time of its own.
    void WriteGood(int number) {
        Write(number, "P" + std::to_string(number), true, test::LocalMidnightPlus(8h) + ++m_Writes * 1s);
    }
    test::FileFaults Faults;

protected:
    // What the console front end prints for the data folder now.
    std::string ConsoleBlock() const {
        std::ostringstream out;
        PrintProfilesOnce(DataFolder::FromCommandLine("/opt/velmar", {"/PATH:" + m_Data.File("")}), out);
        return out.str();
    }

private:
    int m_Writes = 0;
};

TEST_P(ReloadCycleFault, ShowsWhereverTheProfilesAreShownUntilMended) {
    const Fault& fault = GetParam();
    WriteGood(1);
    if (fault.AtStart) {
        fault.Break(*this);
    }
    Start();
    if (!fault.AtStart) {
        ASSERT_TRUE(m_Desktop.Window.Status().Problems.empty());
        fault.Break(*this);
        ASSERT_TRUE(Tick()) << "the fault is a change";
    }

    const StatusLine status = m_Desktop.Window.Status();
    ASSERT_FALSE(status.Problems.empty());
    EXPECT_THAT(status.Text, HasSubstr(fault.Problem));
    EXPECT_TRUE(m_Desktop.Tray.Warning());
    EXPECT_THAT(m_Desktop.Tray.ToolTipText(),
                HasSubstr(std::string(kToolTipLineBreak) + status.Problems.front().substr(0, 20)));
    const std::string block = ConsoleBlock();
    EXPECT_THAT(block, HasSubstr("\n! "));
    EXPECT_THAT(block, HasSubstr(fault.Problem));
    EXPECT_EQ(Tick(), fault.Retried) << "only a file that could not be read is tried again unchanged";

    fault.Mend(*this);
    EXPECT_TRUE(Tick()) << "mended";
    const StatusLine mended = m_Desktop.Window.Status();
    EXPECT_EQ(mended.Problems, std::vector<std::string>{});
    EXPECT_THAT(mended.Text, StartsWith("Updated "));
    EXPECT_FALSE(m_Desktop.Tray.Warning());
    EXPECT_THAT(m_Desktop.Tray.ToolTipText(), Not(HasSubstr(fault.Problem)));
    EXPECT_THAT(ConsoleBlock(), Not(HasSubstr("\n! ")));
    EXPECT_FALSE(Tick()) << "and then rests";
}

const auto kFaults = std::to_array<Fault>({
    {"VersionThreeFile", true,
     [](ReloadCycleFault& t) {
         test::WriteFileBytes(t.ProfileFile(3), {3, 0, 0, 0});
     },
     [](ReloadCycleFault& t) { t.WriteGood(3); }, "Profile_0003.dat: format version 3, not 4", false},
#ifndef _WIN32
    {"Fifo", false, [](ReloadCycleFault& t) { ASSERT_TRUE(test::MakeFifo(t.ProfileFile(4))); },
     [](ReloadCycleFault& t) { fs::remove(t.ProfileFile(4)); }, "Profile_0004.dat: not a regular file",
     false},
#endif
    {"ReadError", false,
     [](ReloadCycleFault& t) {
         t.Faults.Fail(FileCall::Read, "Profile_0001.dat", std::errc::io_error);
         t.WriteGood(1);
     },
     [](ReloadCycleFault& t) { t.Faults.Clear(); }, "Profile_0001.dat: input/output error", true},
    {"UnreadableToTheUser", true,
     [](ReloadCycleFault& t) {
         t.Faults.Fail(FileCall::Open, "Profile_0001.dat", std::errc::permission_denied);
     },
     [](ReloadCycleFault& t) { t.Faults.Clear(); }, "Profile_0001.dat: permission denied", true},
    {"FolderMissingAtStart", true, [](ReloadCycleFault& t) { fs::remove_all(t.ProfilesFolder()); },
     [](ReloadCycleFault& t) {
         fs::create_directory(t.ProfilesFolder());
         t.WriteGood(1);
     },
     "Profiles folder not found: ", false},
    {"FolderRemovedAndRestored", false, [](ReloadCycleFault& t) { fs::remove_all(t.ProfilesFolder()); },
     [](ReloadCycleFault& t) {
         fs::create_directory(t.ProfilesFolder());
         t.WriteGood(1);
     },
     "Profiles folder not found: ", false},
    {"FolderIsAFile", true,
     [](ReloadCycleFault& t) {
         fs::remove_all(t.ProfilesFolder());
         test::WriteFileBytes(t.ProfilesFolder(), {4, 0});
     },
     [](ReloadCycleFault& t) {
         fs::remove(t.ProfilesFolder());
         fs::create_directory(t.ProfilesFolder());
     },
     "Profiles folder is not a folder: ", false},
    {"TwoHundredAndOneLoadableFiles", true,
     [](ReloadCycleFault& t) {
         for (int number = 2; number <= 201; ++number) {
             t.WriteGood(number);
         }
     },
     [](ReloadCycleFault& t) { fs::remove(t.ProfileFile(201)); }, ".dat: beyond the 200 slots", false},
});

INSTANTIATE_TEST_SUITE_P(Faults, ReloadCycleFault, ::testing::ValuesIn(kFaults),
                         [](const auto& info) { return std::string(info.param.Title); });

} // namespace
} // namespace velmar
