#include "app/MainWindow.h"
#include "platform/RecordingDesktop.h"
#include "profiles/Profiles.h"
#include "tests/app/ProfileFileWriter.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace velmar {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A window on recording controls over a real data folder, counting loads.
class ReloadCycle : public ::testing::Test {
protected:
    ReloadCycle()
        : m_Main({m_Desktop.Window, m_Desktop.List, m_Desktop.ImageList, m_Desktop.Timer, m_Desktop.Tray,
                  m_Desktop.Wait},
                 {"/opt/velmar", {"/PATH:" + m_Data.File("")}}) {
        m_Main.ProfileLoader = [this] {
            ++m_Loads;
            return LoadAllProfiles();
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
    // One tick; true when it loaded the profiles.
    bool Tick() {
        const int before = m_Loads;
        m_Desktop.Timer.Tick();
        return m_Loads != before;
    }

    test::TempDir m_Data;
    RecordingDesktop m_Desktop;
    VelmarActiveProfiles_Main m_Main;
    int m_Loads = 0;
};

TEST_F(ReloadCycle, EmptyFolderLoadsAtStartAndSetsTheHeading) {
    m_Desktop.Window.Create(m_Main);
    EXPECT_EQ(m_Loads, 1) << "no signature before the first tick";
    EXPECT_EQ(m_Desktop.Tray.ToolTipText(), "Aktiva profiler:");
    EXPECT_TRUE(m_Desktop.List.Rows().empty());

    EXPECT_FALSE(Tick());
    Write(1, "Alpha", true, test::LocalMidnightPlus(10h));
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.List.Rows().size(), 1u);
    EXPECT_EQ(m_Desktop.Tray.ToolTipText(),
              std::string("Aktiva profiler:") + kToolTipLineBreak + "\xC2\xB7 Alpha");
}

TEST_F(ReloadCycle, MissingProfilesFolderIsAnEmptyFolder) {
    fs::remove(Folder());
    m_Desktop.Window.Create(m_Main);
    EXPECT_EQ(m_Loads, 1);
    EXPECT_EQ(m_Desktop.Tray.ToolTipText(), "Aktiva profiler:");
    EXPECT_FALSE(Tick());
}

TEST_F(ReloadCycle, UnchangedFolderReadsNoFile) {
    Write(1, "Alpha", true, test::LocalMidnightPlus(8h));
    Write(2, "Beta", false, test::LocalMidnightPlus(9h));
    m_Desktop.Window.Create(m_Main);
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
    m_Desktop.Window.Create(m_Main);
    for (const auto& change : changes) {
        change.Apply();
        EXPECT_TRUE(Tick()) << change.Title;
        EXPECT_FALSE(Tick()) << change.Title << ": the next tick sees no change";
    }
    ASSERT_EQ(m_Desktop.List.Rows().size(), 2u);
    EXPECT_EQ(m_Desktop.List.Rows()[0].Text, "Alpha with a longer name");
    EXPECT_EQ(m_Desktop.List.Rows()[1].Text, "Gamma");
}

TEST_F(ReloadCycle, ShowsTheChangedFlag) {
    const auto base = test::LocalMidnightPlus(12h);
    Write(7, "Nattlarm", false, base);
    m_Desktop.Window.Create(m_Main);
    ASSERT_EQ(m_Desktop.List.Rows().size(), 1u);
    EXPECT_EQ(m_Desktop.List.Rows()[0].SmallImage, kImageInactive);
    Write(7, "Nattlarm", true, base + 1s);
    EXPECT_TRUE(Tick());
    EXPECT_EQ(m_Desktop.List.Rows()[0].SmallImage, kImageActive);
}

TEST_F(ReloadCycle, FilesThatAreNotProfilesDoNotCount) {
    m_Desktop.Window.Create(m_Main);
    test::WriteFileBytes(Folder() / "Profile_1.dat", {1, 2});
    test::WriteFileBytes(Folder() / "readme.txt", {1, 2});
    fs::create_directory(Folder() / "Profile_0009.dat");
    EXPECT_FALSE(Tick());
    test::WriteFileBytes(Folder() / "profile_0005.DAT", {1});
    EXPECT_TRUE(Tick()) << "names match without regard to letter case";
}

TEST(ChangeSignature, UnreadableTimeNeverMatches) {
    DirectoryEntry readable{"Profile_0001.dat", true, 5, 10, ""};
    DirectoryEntry unreadable{"Profile_0001.dat", false, 0, 10, ""};
    EXPECT_TRUE(SameSignature({readable}, {readable}));
    EXPECT_TRUE(SameSignature({}, {}));
    EXPECT_FALSE(SameSignature({unreadable}, {unreadable}));
    EXPECT_FALSE(SameSignature({readable}, {unreadable}));
    EXPECT_FALSE(SameSignature({readable}, {}));
}

} // namespace
} // namespace velmar
