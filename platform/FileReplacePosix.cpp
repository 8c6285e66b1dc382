// Saves on POSIX: the rules of FileReplace.h with links, owners, groups,
// modes, ACLs and extended attributes (an ACL is one: system.posix_acl_access).

#include "common/Paths.h"
#include "platform/FileReplace.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace velmar {

namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinks = 40; // as the kernel's own limit of links in a path
constexpr std::size_t kCopyChunk = std::size_t{1} << 20U;
constexpr unsigned kTemporaryAttempts = 100;

std::string Quoted(const fs::path& path) {
    return "\"" + PathToUtf8(path) + "\"";
}

std::string Reason(int error) {
    return SystemErrorText({error, std::generic_category()});
}

[[noreturn]] void Fail(const std::string& what, int error) {
    throw FileError(what + ": " + Reason(error), Reason(error), {error, std::generic_category()});
}

// A file descriptor, closed when the object goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : m_Fd(fd) {}
    ~Descriptor() {
        if (m_Fd >= 0) {
            ::close(m_Fd);
        }
    }
    Descriptor(Descriptor&& other) noexcept : m_Fd(std::exchange(other.m_Fd, -1)) {}
    Descriptor& operator=(Descriptor&&) = delete;
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_Fd; }
    bool Valid() const { return m_Fd >= 0; }
    // Closes, reporting what close reports (a write the file system delayed).
    void Close(const fs::path& path) {
        const int fd = std::exchange(m_Fd, -1);
        if (::close(fd) != 0 && errno != EINTR) {
            Fail("cannot write " + Quoted(path), errno);
        }
    }

private:
    int m_Fd;
};

int OpenFile(const fs::path& path, int flags, mode_t mode = 0) {
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK,
                    mode); // NOLINT(cppcoreguidelines-pro-type-vararg)
    } while (fd < 0 && errno == EINTR);
    return fd;
}

std::optional<struct stat> StatusOf(const fs::path& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info;
}

enum class Links {
    FollowAll, // the file being saved: every link is followed
    FollowOwn, // its backup: only links of the user's own are followed
};

// The file a path names once its symbolic links are followed; a path that
// does not exist (or a link not to be followed) is the path itself.
fs::path Resolve(fs::path path, Links links) {
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        const auto info = StatusOf(path);
        if (!info || !S_ISLNK(info->st_mode)) {
            return path;
        }
        if (links == Links::FollowOwn && info->st_uid != ::geteuid()) {
            return path; // someone else's link is replaced, never followed
        }
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            Fail("cannot read the link " + Quoted(path), error.value());
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    Fail("cannot save " + Quoted(path), ELOOP);
}

fs::path FolderOf(const fs::path& path) {
    return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

// Whether process `pid` runs: one that the system knows, ours or another user's.
bool ProcessRuns(std::int64_t pid) {
    if (pid <= 0 || pid == ::getpid()) {
        return true;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

void RemoveStaleOf(const fs::path& file) {
    const std::string name = file.filename().string();
    const std::string backup = name + "~";
    const fs::path folder = FolderOf(file);
    DIR* listing = ::opendir(folder.c_str());
    if (listing == nullptr) {
        return;
    }
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view each = entry->d_name;
        auto pid = TemporaryOwnerOf(each, name);
        if (!pid) {
            pid = TemporaryOwnerOf(each, backup);
        }
        if (pid && !ProcessRuns(*pid)) {
            stale.emplace_back(each);
        }
    }
    ::closedir(listing);
    for (const std::string& each : stale) {
        const fs::path path = folder / each;
        if (const auto info = StatusOf(path); info && S_ISREG(info->st_mode)) {
            ::unlink(path.c_str());
        }
    }
}

// A temporary file of this process beside `target`, removed when the object
// goes unless it was renamed into place.
class Temporary {
public:
    // Creates it with `mode`; nothing when the folder refuses (errno in `error`).
    static std::optional<Temporary> Create(const fs::path& target, mode_t mode, int& error) {
        for (unsigned attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
            fs::path path =
                FolderOf(target) / TemporaryNameOf(target.filename().string(), ::getpid(), attempt);
            const int fd = OpenFile(path, O_RDWR | O_CREAT | O_EXCL, mode);
            if (fd >= 0) {
                return Temporary(std::move(path), fd);
            }
            if (errno != EEXIST) {
                error = errno;
                return std::nullopt;
            }
        }
        error = EEXIST;
        return std::nullopt;
    }
    ~Temporary() {
        if (!m_Path.empty()) {
            ::unlink(m_Path.c_str());
        }
    }
    Temporary(Temporary&& other) noexcept
        : m_Path(std::exchange(other.m_Path, fs::path())), m_Fd(std::move(other.m_Fd)) {}
    Temporary& operator=(Temporary&&) = delete;
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    int Fd() const { return m_Fd.Get(); }
    const fs::path& Path() const { return m_Path; }
    void Close() { m_Fd.Close(m_Path); }
    // Renames it over `target`; FileError when the system refuses.
    void RenameOver(const fs::path& target) {
        if (::rename(m_Path.c_str(), target.c_str()) != 0) {
            Fail("cannot replace " + Quoted(target), errno);
        }
        m_Path.clear();
        // The rename itself reaches the disk with the folder.
        const Descriptor folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (folder.Valid()) {
            ::fsync(folder.Get());
        }
    }

private:
    Temporary(fs::path path, int fd) : m_Path(std::move(path)), m_Fd(fd) {}
    fs::path m_Path;
    Descriptor m_Fd;
};

// What is written: the new bytes, or the previous file's for its backup.
struct Content {
    std::span<const std::uint8_t> Bytes;
    int From = -1; // copied from this descriptor when not negative
    std::uint64_t Size = 0;
};

void WriteAt(int fd, const char* data, std::size_t size, std::uint64_t offset, const fs::path& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pwrite(fd, data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            Fail("cannot write " + Quoted(path), n < 0 ? errno : ENOSPC);
        }
        done += static_cast<std::size_t>(n);
    }
}

// Reads up to `size` bytes at `offset`; fewer only at the end of the file.
std::size_t ReadAt(int fd, char* data, std::size_t size, std::uint64_t offset, const fs::path& path) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, data + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            Fail("cannot read " + Quoted(path), errno);
        }
        if (n == 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// Writes the content from the file's first byte, cuts the file to its size
// and flushes it to the disk.
void WriteContent(int fd, const Content& content, const fs::path& path, const fs::path& source) {
    if (content.From < 0) {
        WriteAt(fd, reinterpret_cast<const char*>(content.Bytes.data()), content.Bytes.size(), 0, path);
    } else {
        std::vector<char> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(content.Size, kCopyChunk)));
        for (std::uint64_t offset = 0; offset < content.Size;) {
            const std::size_t wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(content.Size - offset, kCopyChunk));
            const std::size_t got = ReadAt(content.From, buffer.data(), wanted, offset, source);
            if (got != wanted) {
                throw FileError(Quoted(source) + " changed while it was copied");
            }
            WriteAt(fd, buffer.data(), got, offset, path);
            offset += got;
        }
    }
    if (::ftruncate(fd, static_cast<off_t>(content.Size)) != 0) {
        Fail("cannot write " + Quoted(path), errno);
    }
    if (::fsync(fd) != 0) {
        Fail("cannot flush " + Quoted(path) + " to the disk", errno);
    }
}

// The names of a file's extended attributes; nothing where the file system
// keeps none.
std::optional<std::vector<std::string>> AttributeNames(int fd, const fs::path& path, std::string& problem) {
    std::vector<std::string> names;
    const ssize_t size = ::flistxattr(fd, nullptr, 0);
    if (size < 0) {
        if (errno == ENOTSUP) {
            return names;
        }
        problem = "cannot list the extended attributes of " + Quoted(path) + ": " + Reason(errno);
        return std::nullopt;
    }
    std::vector<char> list(static_cast<std::size_t>(size) + 1, '\0');
    const ssize_t got = ::flistxattr(fd, list.data(), list.size());
    if (got < 0) {
        problem = "cannot list the extended attributes of " + Quoted(path) + ": " + Reason(errno);
        return std::nullopt;
    }
    for (std::size_t start = 0; start < static_cast<std::size_t>(got);) {
        const std::string name(list.data() + start);
        start += name.size() + 1;
        if (!name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

std::optional<std::vector<char>> AttributeValue(int fd, const std::string& name) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        if (size < 0) {
            return std::nullopt;
        }
        std::vector<char> value(static_cast<std::size_t>(size));
        const ssize_t got = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return value;
        }
        if (errno != ERANGE) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

// Gives the new file `to` exactly the extended attributes (ACLs among them)
// of `from`; empty when done, else why not.
std::string CopyAttributes(int from, const fs::path& fromPath, int to, const fs::path& toPath) {
    std::string problem;
    const auto names = AttributeNames(from, fromPath, problem);
    if (!names) {
        return problem;
    }
    for (const std::string& name : *names) {
        const auto value = AttributeValue(from, name);
        if (!value) {
            return "cannot read the extended attribute " + name + " of " + Quoted(fromPath) + ": " +
                   Reason(errno);
        }
        if (AttributeValue(to, name) == value) {
            continue; // what the system gave the new file already (a security label)
        }
        if (::fsetxattr(to, name.c_str(), value->data(), value->size(), 0) != 0) {
            return "cannot give a new file the extended attribute " + name + ": " + Reason(errno);
        }
    }
    // What the folder's default ACL gave the new file and the old one lacks.
    const auto present = AttributeNames(to, toPath, problem);
    if (!present) {
        return problem;
    }
    for (const std::string& name : *present) {
        if (std::find(names->begin(), names->end(), name) == names->end() &&
            ::fremovexattr(to, name.c_str()) != 0 && errno != ENODATA) {
            return "cannot remove the extended attribute " + name + " of a new file: " + Reason(errno);
        }
    }
    return {};
}

// Gives a new file the identity of the file `from` stands for: owner,
// group, mode, ACLs and extended attributes. Empty when done, else what
// could not be given.
std::string TakeIdentity(int fd, const fs::path& temporary, const struct stat& info, int from,
                         const fs::path& fromPath) {
    const uid_t owner = info.st_uid == ::geteuid() ? static_cast<uid_t>(-1) : info.st_uid;
    const gid_t group = info.st_gid == ::getegid() ? static_cast<gid_t>(-1) : info.st_gid;
    if ((owner != static_cast<uid_t>(-1) || group != static_cast<gid_t>(-1)) &&
        ::fchown(fd, owner, group) != 0) {
        return owner != static_cast<uid_t>(-1)
                   ? "it belongs to user " + std::to_string(info.st_uid)
                   : "its group " + std::to_string(info.st_gid) + " is not one of ours";
    }
    // After the owner: a change of owner clears the set-user-id bit.
    if (::fchmod(fd, info.st_mode & 07777) != 0) {
        return "its mode cannot be given to a new file: " + Reason(errno);
    }
    if (from < 0) {
        return "it cannot be read for its extended attributes";
    }
    return CopyAttributes(from, fromPath, fd, temporary);
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A FileError's text without the kind's prefix, to build on.
std::string WithoutPrefix(const FileError& error) {
    const std::string text = error.what();
    const std::string prefix = "File error: ";
    return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
}

// Rewrites the regular file `path` (as `info` found it) in place. With
// `check`, reads it back and compares. `started` turns true once a byte of
// the file may have changed.
void RewriteInPlace(const fs::path& path, const struct stat& info, const Content& content,
                    const fs::path& source, bool check, bool& started) {
    Descriptor fd(OpenFile(path, O_RDWR));
    if (!fd.Valid()) {
        Fail("cannot write " + Quoted(path), errno);
    }
    struct stat now {};
    if (::fstat(fd.Get(), &now) != 0 || !SameFile(now, info)) {
        throw FileError(Quoted(path) + " was replaced by another file while it was saved");
    }
#ifdef FALLOC_FL_KEEP_SIZE
    // Room for a longer file first, so that a full disk stops the save before
    // a byte of the file changes.
    if (content.Size > static_cast<std::uint64_t>(now.st_size) &&
        ::fallocate(fd.Get(), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(content.Size)) != 0 &&
        errno != EOPNOTSUPP && errno != ENOSYS) {
        Fail("cannot write " + Quoted(path), errno);
    }
#endif
    started = true;
    WriteContent(fd.Get(), content, path, source);
    if (check) {
        std::vector<char> back(content.Bytes.size() + 1);
        const std::size_t got = ReadAt(fd.Get(), back.data(), back.size(), 0, path);
        if (got != content.Bytes.size() || !std::equal(content.Bytes.begin(), content.Bytes.end(),
                                                       reinterpret_cast<const std::uint8_t*>(back.data()))) {
            throw FileError(Quoted(path) + " does not read back as written");
        }
    }
    fd.Close(path);
}

// Keeps the previous file (open as `from`, found as `info`) as its NAME~, by
// the same rules as the file. FileError when it cannot.
void KeepBackup(const fs::path& target, const struct stat& info, int from) {
    if (from < 0) {
        throw FileError("it cannot be read");
    }
    const fs::path backup = Resolve(PathFromUtf8(BackupPathOf(PathToUtf8(target))), Links::FollowOwn);
    const Content content{{}, from, static_cast<std::uint64_t>(info.st_size)};
    const auto old = StatusOf(backup);
    if (old && !S_ISREG(old->st_mode) && !S_ISLNK(old->st_mode)) {
        throw FileError(Quoted(backup) + " is not a regular file");
    }
    const bool keepsIdentity = old && S_ISREG(old->st_mode) &&
                               (old->st_nlink > 1 || (::geteuid() != 0 && old->st_uid != ::geteuid()));
    if (!keepsIdentity) {
        int error = 0;
        if (auto temporary = Temporary::Create(backup, 0600, error)) {
            // The copy is as private as the file: its mode, and its ACL where
            // that can be copied; without the ACL only its owner may read it.
            struct stat own = info;
            own.st_uid = ::geteuid();
            if (!TakeIdentity(temporary->Fd(), temporary->Path(), own, from, target).empty()) {
                ::fchmod(temporary->Fd(), info.st_mode & 0700);
            }
            WriteContent(temporary->Fd(), content, temporary->Path(), target);
            temporary->Close();
            temporary->RenameOver(backup);
            return;
        }
        if (!old || !S_ISREG(old->st_mode)) {
            Fail("cannot create " + Quoted(backup), error);
        }
    }
    bool started = false;
    RewriteInPlace(backup, *old, content, target, false, started);
}

// A save of a file that does not exist yet.
void CreateNew(const fs::path& target, std::span<const std::uint8_t> bytes) {
    int error = 0;
    // 0666 and the user's umask (and the folder's default ACL), as any new file.
    auto temporary = Temporary::Create(target, 0666, error);
    if (!temporary) {
        Fail("cannot create a file in " + Quoted(FolderOf(target)), error);
    }
    WriteContent(temporary->Fd(), {bytes, -1, bytes.size()}, temporary->Path(), {});
    temporary->Close();
    temporary->RenameOver(target);
}

bool ReadOnly(const fs::path& path, const struct stat& info) {
    return (info.st_mode & 0222) == 0 ||
           (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0 && errno == EACCES);
}

} // namespace

bool IsReadOnlyFile(const std::string& path) {
    struct stat info {};
    const fs::path native = PathFromUtf8(path);
    return ::stat(native.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ReadOnly(native, info);
}

ReplaceResult ReplaceFile(const std::string& path, std::span<const std::uint8_t> bytes,
                          const ReplaceOptions& options) {
    const fs::path target = Resolve(PathFromUtf8(path), Links::FollowAll);
    RemoveStaleOf(target);
    ReplaceResult result;
    result.WrittenPath = PathToUtf8(target);

    const auto info = StatusOf(target);
    if (!info) {
        if (errno != ENOENT) {
            Fail("cannot save " + Quoted(target), errno);
        }
        CreateNew(target, bytes);
        return result;
    }
    if (!S_ISREG(info->st_mode)) {
        throw FileError("cannot save " + Quoted(target) + ": not a regular file", "not a regular file");
    }
    if (!options.OverReadOnly && ReadOnly(target, *info)) {
        throw ReadOnlyFileError(PathToUtf8(target));
    }
    // The previous file, for its backup and its attributes; a file the user
    // may write but not read has neither.
    const Descriptor original(OpenFile(target, O_RDONLY));

    std::string reason;
    std::optional<Temporary> temporary;
    if (info->st_nlink > 1) {
        reason = "it has " + std::to_string(info->st_nlink) + " hard links";
    } else {
        int error = 0;
        if (auto created = Temporary::Create(target, 0600, error)) {
            temporary.emplace(std::move(*created));
        }
        if (!temporary) {
            if (error != EACCES && error != EPERM) {
                Fail("cannot create a temporary file beside " + Quoted(target), error);
            }
            reason = "its folder does not let us create files";
        } else {
            reason = TakeIdentity(temporary->Fd(), temporary->Path(), *info, original.Get(), target);
            if (!reason.empty()) {
                temporary.reset();
            }
        }
    }
    const Content content{bytes, -1, bytes.size()};
    if (temporary) {
        WriteContent(temporary->Fd(), content, temporary->Path(), {});
        temporary->Close();
    }
    // The backup comes before the file changes; failing, it stops nothing.
    try {
        KeepBackup(target, *info, original.Get());
        result.BackupKept = true;
    } catch (const FileError& error) {
        result.BackupProblem = WithoutPrefix(error);
    }
    if (temporary) {
        temporary->RenameOver(target);
        result.Method = ReplaceMethod::Renamed;
    } else {
        bool started = false;
        try {
            RewriteInPlace(target, *info, content, {}, true, started);
        } catch (const FileError& error) {
            if (!started) {
                throw;
            }
            throw IncompleteFileError(
                WithoutPrefix(error) + "; it was being rewritten in place (" + reason + ") and may be " +
                    (result.BackupKept ? "incomplete: its previous contents are in " +
                                             Quoted(PathFromUtf8(BackupPathOf(result.WrittenPath)))
                                       : "incomplete"),
                error.Reason(), error.Code());
        }
        result.Method = ReplaceMethod::RewrittenInPlace;
        result.InPlaceReason = reason;
    }
    return result;
}

void RemoveStaleTemporaries(const std::string& path) {
    try {
        RemoveStaleOf(Resolve(PathFromUtf8(path), Links::FollowAll));
    } catch (const FileError&) {
        // A link that cannot be followed has no temporaries to remove.
    }
}

} // namespace velmar
