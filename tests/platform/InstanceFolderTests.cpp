// Where the single-instance lock and socket may live: only in a folder no
// other user can enter, never in a shared folder anyone could squat.

#include "common/Paths.h"
#include "platform/InstanceFolder.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

EnvironmentLookup Environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        const auto found = values.find(name);
        return found == values.end() ? std::nullopt : std::optional<std::string>(found->second);
    };
}

#ifdef _WIN32

TEST(InstanceFolder, TheProgramsOwnFolderUnderTheLocalApplicationData) {
    TempDir dir;
    const std::string local = PathToUtf8(dir.Path());
    const InstanceFolder chosen = ChooseInstanceFolder(Environment({{"LOCALAPPDATA", local}}));
    EXPECT_EQ(chosen.Path, local + "\\velmar-active-profiles");
    EXPECT_TRUE(fs::is_directory(dir.Path() / "velmar-active-profiles"));
    EXPECT_EQ(chosen.Problem, "");

    fs::remove(dir.Path() / "velmar-active-profiles");
    test::WriteFileBytes(dir.Path() / "velmar-active-profiles", {1}); // squatted by a file
    const InstanceFolder none = ChooseInstanceFolder(Environment({{"LOCALAPPDATA", local}}));
    EXPECT_EQ(none.Path, "");
    EXPECT_EQ(none.Problem, "no folder of the user's own for the single-instance lock (" + local +
                                "\\velmar-active-profiles is not a folder)");
    EXPECT_EQ(ChooseInstanceFolder(Environment({})).Problem,
              "no folder of the user's own for the single-instance lock (LOCALAPPDATA is not set)");
}

#else

TEST(InstanceFolder, OnlyAFolderOfTheUsersOwnThatNoOneElseCanEnter) {
    TempDir dir;
    const std::string root = PathToUtf8(dir.Path());
    const auto folder = [&](const std::string& name, mode_t mode) {
        fs::create_directories(dir.Path() / name);
        ::chmod((dir.Path() / name).c_str(), mode);
        return root + "/" + name;
    };
    const std::string runtime = folder("runtime", 0700);
    const std::string open = folder("open", 0755);
    const std::string cache = folder("cache", 0755); // the cache folder itself may be open
    fs::create_directory_symlink(runtime, dir.Path() / "link");
    const std::string own = cache + "/velmar-active-profiles";
    const std::string none = "no folder of the user's own for the single-instance lock (";

    struct Case {
        const char* Title;
        std::map<std::string, std::string> Environment;
        std::string Path;
        std::string Problem;
    };
    const std::vector<Case> cases = {
        {"the runtime folder", {{"XDG_RUNTIME_DIR", runtime}, {"XDG_CACHE_HOME", cache}}, runtime, ""},
        {"no runtime folder: the cache folder's own, created", {{"XDG_CACHE_HOME", cache}}, own, ""},
        {"a runtime folder open to others", {{"XDG_RUNTIME_DIR", open}, {"XDG_CACHE_HOME", cache}}, own, ""},
        {"a relative runtime folder",
         {{"XDG_RUNTIME_DIR", "run"}, {"HOME", root + "/home"}},
         root + "/home/.cache/velmar-active-profiles",
         ""},
        {"nothing usable",
         {{"XDG_RUNTIME_DIR", root + "/link"}},
         "",
         none + root + "/link is a symbolic link; neither XDG_CACHE_HOME nor HOME is set)"},
    };
    fs::create_directory(dir.Path() / "home");
    for (const Case& c : cases) {
        const InstanceFolder chosen = ChooseInstanceFolder(Environment(c.Environment));
        EXPECT_EQ(chosen.Path, c.Path) << c.Title;
        EXPECT_EQ(chosen.Problem, c.Problem) << c.Title;
    }
    struct stat info {};
    ASSERT_EQ(::stat(own.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700U) << "created for the user alone";

    // A squatted folder of the program's own is refused, whatever squats it.
    const std::map<std::string, std::string> noRuntime = {{"XDG_CACHE_HOME", root + "/squat"}};
    fs::create_directory(dir.Path() / "squat");
    fs::create_directory_symlink(runtime, dir.Path() / "squat" / "velmar-active-profiles");
    EXPECT_EQ(ChooseInstanceFolder(Environment(noRuntime)).Problem,
              none + "XDG_RUNTIME_DIR is not set; " + root +
                  "/squat/velmar-active-profiles is a symbolic link)");
    fs::remove(dir.Path() / "squat" / "velmar-active-profiles");
    folder("squat/velmar-active-profiles", 0777);
    EXPECT_EQ(ChooseInstanceFolder(Environment(noRuntime)).Problem,
              none + "XDG_RUNTIME_DIR is not set; " + root +
                  "/squat/velmar-active-profiles is open to other users (mode 0777))");
    fs::remove(dir.Path() / "squat" / "velmar-active-profiles");
    test::WriteFileBytes(dir.Path() / "squat" / "velmar-active-profiles", {1});
    EXPECT_EQ(ChooseInstanceFolder(Environment(noRuntime)).Problem,
              none + "XDG_RUNTIME_DIR is not set; " + root +
                  "/squat/velmar-active-profiles is not a folder)");
}

TEST(InstanceFolder, ASocketPeerOfTheSameUserIsTrusted) {
    std::array<int, 2> pair{-1, -1};
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair.data()), 0);
    EXPECT_TRUE(PeerIsCurrentUser(pair[0]));
    ::close(pair[0]);
    ::close(pair[1]);
    EXPECT_FALSE(PeerIsCurrentUser(-1)) << "what cannot be told is not trusted";
}

#endif

} // namespace
} // namespace velmar
