// Saves that keep what a file is, on POSIX: links, owners, groups, modes,
// ACLs and extended attributes, read-only files, shared and sticky folders, a
// full disk and saves killed half way. Cases that need a second user or a
// mount run as root (as CI does) and are skipped with a message elsewhere;
// the second user is a bare user id, which needs no account.

#include "common/Errors.h"
#include "platform/FileReplace.h"
#include "platform/InstanceFolder.h"
#include "tests/support/TestFiles.h"

#include <array>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velmar {
namespace {

namespace fs = std::filesystem;
using test::Bytes;
using test::ReadFileBytes;
using test::TempDir;
using test::WriteFileBytes;

// The alarm server's user and the editing user of the shared-folder cases,
// with a group both belong to.
constexpr uid_t kServer = 47101;
constexpr uid_t kEditor = 47102;
constexpr gid_t kShared = 47100;

Bytes Filled(std::size_t size, std::uint8_t value) {
    return Bytes(size, value);
}

struct stat StatOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// Temporary files a save left in a folder.
std::vector<std::string> Temporaries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".saving") != std::string::npos) {
            names.push_back(name);
        }
    }
    return names;
}

// Runs `work` in a child process as user `uid` with primary group `gid` and
// the supplementary `groups`: what it returned, or "failed: " and the error
// it raised.
std::string RunAs(uid_t uid, gid_t gid, const std::vector<gid_t>& groups,
                  const std::function<std::string()>& work) {
    std::array<int, 2> pipe{-1, -1};
    if (::pipe(pipe.data()) != 0) {
        return "no pipe";
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        std::string outcome;
        if (::setgroups(groups.size(), groups.data()) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
            outcome = "failed: cannot become the user";
        } else {
            try {
                outcome = work();
            } catch (const std::exception& error) {
                outcome = std::string("failed: ") + error.what();
            }
        }
        [[maybe_unused]] const auto written = ::write(pipe[1], outcome.data(), outcome.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string outcome;
    std::array<char, 512> buffer{};
    ssize_t got = 0;
    while ((got = ::read(pipe[0], buffer.data(), buffer.size())) > 0) {
        outcome.append(buffer.data(), static_cast<std::size_t>(got));
    }
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return outcome;
}

// Runs a shell command; true when it succeeded.
bool Shell(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

// The output of a shell command.
std::string ShellOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
            output += buffer.data();
        }
        ::pclose(pipe);
    }
    return output;
}

// The cases that need a second user or a mount.
class FileSafetyAsRoot : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "needs root (a second user or a mount); CI runs this suite as root";
        }
    }
};

// What a save as another user reports: how the file was written and whether
// its backup was kept.
std::string Saved(const std::string& path, const Bytes& bytes) {
    const ReplaceResult result = ReplaceFile(path, bytes);
    return std::string(result.Method == ReplaceMethod::Renamed ? "renamed" : "in place") +
           (result.BackupKept ? ", backup kept" : ", no backup: " + result.BackupProblem);
}

// A folder every user may enter and write: the test folders are made by root
// with mode 0700.
void OpenToAll(const TempDir& dir, mode_t mode = 0777) {
    ::chmod(dir.Path().c_str(), mode);
}

TEST(FileSafety, ASymbolicLinkIsFollowedAndStaysALink) {
    TempDir dir;
    fs::create_directory(dir.Path() / "links");
    WriteFileBytes(dir.Path() / "real.cal", Filled(100, 1));
    fs::create_symlink("../real.cal", dir.Path() / "links" / "holidays.cal");

    const ReplaceResult result = ReplaceFile(dir.File("links/holidays.cal"), Filled(120, 2));
    EXPECT_EQ(fs::path(result.WrittenPath), dir.Path() / "links" / ".." / "real.cal");
    EXPECT_EQ(result.Method, ReplaceMethod::Renamed);
    EXPECT_TRUE(result.BackupKept);

    EXPECT_TRUE(fs::is_symlink(dir.Path() / "links" / "holidays.cal")) << "the link stays a link";
    EXPECT_EQ(fs::read_symlink(dir.Path() / "links" / "holidays.cal"), "../real.cal");
    EXPECT_EQ(ReadFileBytes(dir.Path() / "real.cal"), Filled(120, 2)) << "its target is written";
    EXPECT_EQ(ReadFileBytes(dir.Path() / "real.cal~"), Filled(100, 1)) << "the backup beside the target";
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.Path() / "links" / "holidays.cal~")));
    EXPECT_TRUE(Temporaries(dir.Path()).empty());
}

TEST(FileSafety, ModeGroupAclAndExtendedAttributesAreKept) {
    if (!Shell("command -v setfacl && command -v getfacl && command -v setfattr && command -v getfattr")) {
        GTEST_SKIP() << "acl and attr tools missing (scripts/install-deps.sh test installs them)";
    }
    TempDir dir;
    const std::string path = dir.File("shared.cal");
    WriteFileBytes(path, Filled(50, 1));
    ::chmod(path.c_str(), 0640);
    if (!Shell("setfacl -m u:" + std::to_string(kServer) + ":rw " + path) ||
        !Shell("setfattr -n user.velmar.origin -v server " + path)) {
        GTEST_SKIP() << "the file system of " << dir.Path() << " keeps no ACLs or user attributes";
    }
    const std::string acl = ShellOutput("getfacl -cp " + path);
    const mode_t mode = StatOf(path).st_mode & 07777;

    ReplaceFile(path, Filled(60, 2));

    EXPECT_EQ(ReadFileBytes(path), Filled(60, 2));
    EXPECT_EQ(ShellOutput("getfacl -cp " + path), acl) << "the ACL, its mask and the group's bits";
    EXPECT_EQ(StatOf(path).st_mode & 07777, mode);
    EXPECT_EQ(ShellOutput("getfattr --only-values -n user.velmar.origin " + path), "server");
}

TEST_F(FileSafetyAsRoot, AnotherUsersFileInASharedFolderStaysTheirsAndWritableByThem) {
    TempDir dir;
    OpenToAll(dir);
    const std::string path = dir.File("Profile_0001.dat");
    WriteFileBytes(path, Filled(400, 1));
    ::chown(path.c_str(), kServer, kShared);
    ::chmod(path.c_str(), 0664);

    EXPECT_EQ(RunAs(kEditor, kEditor, {kEditor, kShared}, [&] { return Saved(path, Filled(410, 2)); }),
              "in place, backup kept");
    EXPECT_EQ(ReadFileBytes(path), Filled(410, 2));
    EXPECT_EQ(StatOf(path).st_uid, kServer);
    EXPECT_EQ(StatOf(path).st_gid, kShared);
    EXPECT_EQ(StatOf(path).st_mode & 07777, 0664U);

    // The server goes on writing its profile.
    EXPECT_EQ(RunAs(kServer, kShared, {kShared},
                    [&] {
                        const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
                        if (fd < 0 || ::write(fd, "server", 6) != 6 || ::close(fd) != 0) {
                            return std::string("the server cannot write: ") + std::strerror(errno);
                        }
                        return std::string("written");
                    }),
              "written");
}

TEST_F(FileSafetyAsRoot, AnotherUsersFileTheUserMayNotWriteIsNeverTakenOver) {
    TempDir dir;
    OpenToAll(dir);
    const std::string path = dir.File("Profile_0002.dat");
    WriteFileBytes(path, Filled(40, 1));
    ::chown(path.c_str(), kServer, kServer);
    ::chmod(path.c_str(), 0644);

    EXPECT_EQ(RunAs(kEditor, kEditor, {kEditor},
                    [&] {
                        std::string seen = IsReadOnlyFile(path) ? "read-only" : "writable";
                        try {
                            ReplaceFile(path, Filled(40, 2));
                        } catch (const ReadOnlyFileError& error) {
                            seen += std::string(", refused: ") + error.what();
                        }
                        ReplaceOptions anyway;
                        anyway.OverReadOnly = true;
                        try {
                            ReplaceFile(path, Filled(40, 3), anyway);
                        } catch (const FileError& error) {
                            return seen + "; anyway: " + error.what();
                        }
                        return seen + ", saved anyway";
                    }),
              "read-only, refused: File error: cannot save \"" + path +
                  "\": the file is read-only; anyway: File error: cannot write \"" + path +
                  "\": permission denied");
    EXPECT_EQ(ReadFileBytes(path), Filled(40, 1));
    EXPECT_EQ(StatOf(path).st_uid, kServer) << "never a file of the editing user";
}

TEST_F(FileSafetyAsRoot, AFolderWhereTheUserMayNotCreateFilesGetsTheFileRewrittenInPlace) {
    TempDir dir;
    OpenToAll(dir, 0755);
    const std::string path = dir.File("holidays.cal");
    WriteFileBytes(path, Filled(30, 1));
    ::chown(path.c_str(), kEditor, kEditor);

    EXPECT_EQ(RunAs(kEditor, kEditor, {kEditor}, [&] { return Saved(path, Filled(20, 2)); }),
              "in place, no backup: cannot create \"" + BackupPathOf(path) + "\": permission denied");
    EXPECT_EQ(ReadFileBytes(path), Filled(20, 2));
}

TEST_F(FileSafetyAsRoot, AnotherUsersBackupInAStickyFolderDoesNotStopTheSave) {
    TempDir dir;
    OpenToAll(dir, 01777);
    const std::string path = dir.File("holidays.cal");
    WriteFileBytes(path, Filled(30, 1));
    ::chown(path.c_str(), kEditor, kEditor);
    WriteFileBytes(BackupPathOf(path), Filled(5, 9));
    ::chown(BackupPathOf(path).c_str(), kServer, kServer);
    ::chmod(BackupPathOf(path).c_str(), 0644);

    EXPECT_EQ(RunAs(kEditor, kEditor, {kEditor}, [&] { return Saved(path, Filled(30, 2)); }),
              "renamed, no backup: cannot write \"" + BackupPathOf(path) + "\": permission denied");
    EXPECT_EQ(ReadFileBytes(path), Filled(30, 2)) << "saved";
    EXPECT_EQ(ReadFileBytes(BackupPathOf(path)), Filled(5, 9)) << "the other user's file untouched";
    EXPECT_EQ(StatOf(BackupPathOf(path)).st_uid, kServer);
    EXPECT_TRUE(Temporaries(dir.Path()).empty());
}

TEST_F(FileSafetyAsRoot, AnotherUsersLinkAsBackupIsNeverFollowed) {
    TempDir dir;
    OpenToAll(dir);
    const std::string path = dir.File("holidays.cal");
    WriteFileBytes(path, Filled(30, 1));
    ::chown(path.c_str(), kEditor, kEditor);
    WriteFileBytes(dir.Path() / "victim", Filled(3, 7));
    ::chown((dir.Path() / "victim").c_str(), kEditor, kEditor);
    fs::create_symlink("victim", BackupPathOf(path));
    ::lchown(BackupPathOf(path).c_str(), kServer, kServer);

    EXPECT_EQ(RunAs(kEditor, kEditor, {kEditor}, [&] { return Saved(path, Filled(30, 2)); }),
              "renamed, backup kept");
    EXPECT_FALSE(fs::is_symlink(BackupPathOf(path))) << "the link was replaced by the backup";
    EXPECT_EQ(ReadFileBytes(BackupPathOf(path)), Filled(30, 1));
    EXPECT_EQ(ReadFileBytes(dir.Path() / "victim"), Filled(3, 7)) << "the link's target is not written";
    EXPECT_EQ(ReadFileBytes(path), Filled(30, 2));
}

// A small file system, unmounted when the object goes.
class SmallDisk {
public:
    SmallDisk(const fs::path& where, const char* size) : m_Where(where) {
        fs::create_directory(where);
        m_Mounted = ::mount("tmpfs", where.c_str(), "tmpfs", 0, (std::string("size=") + size).c_str()) == 0;
    }
    ~SmallDisk() {
        if (m_Mounted) {
            ::umount2(m_Where.c_str(), MNT_DETACH);
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return m_Mounted; }

    // Writes a file of zeros until the disk is full.
    void Fill() const {
        const int fd = ::open((m_Where / "filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const std::vector<char> block(4096, 0);
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }

private:
    fs::path m_Where;
    bool m_Mounted = false;
};

TEST_F(FileSafetyAsRoot, AFullDiskLeavesTheFileAsItWasAndNoTemporary) {
    TempDir dir;
    SmallDisk disk(dir.Path() / "disk", "256k");
    if (!disk.Mounted()) {
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    const fs::path folder = dir.Path() / "disk";
    const std::string single = (folder / "single.cal").string();
    const std::string linked = (folder / "linked.cal").string();
    WriteFileBytes(single, Filled(40000, 1));
    WriteFileBytes(linked, Filled(40000, 3));
    fs::create_hard_link(linked, folder / "other-name.cal");
    disk.Fill();

    // By rename (one name) and in place (two names): neither may begin.
    for (const std::string& path : {single, linked}) {
        const Bytes before = ReadFileBytes(path);
        EXPECT_THROW(ReplaceFile(path, Filled(80000, 2)), FileError) << path;
        EXPECT_EQ(ReadFileBytes(path), before) << path;
    }
    EXPECT_TRUE(Temporaries(folder).empty());
}

TEST(FileSafety, AKilledSaveLeavesTheOriginalAndNoTemporaryAfterTheNextOpen) {
    TempDir dir;
    const std::string path = dir.File("loop.cal");
    const Bytes first = Filled(1 << 20, 1);
    const Bytes second = Filled(1 << 20, 2);
    WriteFileBytes(path, first);
    std::mt19937 random(4711);
    int leftBehind = 0;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (unsigned i = 0;; ++i) {
                try {
                    ReplaceFile(path, i % 2 == 0 ? second : first);
                } catch (...) {
                    ::_exit(3);
                }
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 20000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the save loop ended by itself";
        const Bytes now = ReadFileBytes(path);
        ASSERT_TRUE(now == first || now == second)
            << "round " << round << ": a file of " << now.size() << " bytes, neither version";
        leftBehind += static_cast<int>(Temporaries(dir.Path()).size());
        RemoveStaleTemporaries(path); // as the editor does when it opens the file
        EXPECT_TRUE(Temporaries(dir.Path()).empty()) << "round " << round;
    }
    std::cout << leftBehind << " temporaries of killed saves were removed\n";
}

TEST_F(FileSafetyAsRoot, AnotherUsersFolderOrSocketIsNeverTakenForTheUsersOwn) {
    TempDir dir;
    OpenToAll(dir);
    const fs::path squat = dir.Path() / "cache" / "velmar-active-profiles";
    fs::create_directories(squat);
    ::chmod(squat.c_str(), 0700);
    ::chown(squat.c_str(), kServer, kServer);
    const InstanceFolder chosen = ChooseInstanceFolder([&](const char* name) -> std::optional<std::string> {
        if (std::string(name) == "XDG_CACHE_HOME") {
            return (dir.Path() / "cache").string();
        }
        return std::nullopt;
    });
    EXPECT_EQ(chosen.Path, "");
    EXPECT_EQ(chosen.Problem,
              "no folder of the user's own for the single-instance lock (XDG_RUNTIME_DIR is not "
              "set; " +
                  squat.string() + " belongs to user " + std::to_string(kServer) + ")");

    // A socket whose other end is another user's process.
    const fs::path path = dir.Path() / "instance.socket";
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::chmod(path.c_str(), 0777);
    ASSERT_EQ(::listen(server, 1), 0);
    const std::string connected = RunAs(kServer, kServer, {kServer}, [&] {
        const int client = ::socket(AF_UNIX, SOCK_STREAM, 0);
        return ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0
                   ? std::string("connected")
                   : std::string(std::strerror(errno));
    });
    EXPECT_EQ(connected, "connected");
    const int accepted = ::accept(server, nullptr, nullptr);
    ASSERT_GE(accepted, 0);
    EXPECT_FALSE(PeerIsCurrentUser(accepted));
    ::close(accepted);
    ::close(server);
}

} // namespace
} // namespace velmar
