// The single-instance folder on POSIX: the runtime folder or the program's
// own folder in the cache folder, checked for owner, mode and links.

#include "common/Paths.h"
#include "platform/InstanceFolder.h"
#include "platform/SystemError.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmar {

namespace {

constexpr const char* kOwnFolder = "velmar-active-profiles";

std::string Reason(int error) {
    return SystemErrorText({error, std::generic_category()});
}

std::string ModeText(mode_t mode) {
    std::array<char, 8> text{};
    std::snprintf(text.data(), text.size(), "%04o", static_cast<unsigned>(mode & 07777));
    return text.data();
}

bool Absolute(const std::optional<std::string>& path) {
    return path && !path->empty() && path->front() == '/';
}

} // namespace

std::vector<InstanceFolderCandidate> InstanceFolderCandidates(const EnvironmentLookup& environment) {
    std::vector<InstanceFolderCandidate> candidates;
    const auto runtime = environment("XDG_RUNTIME_DIR");
    if (Absolute(runtime)) {
        candidates.push_back({*runtime, false, {}});
    } else {
        candidates.push_back({{}, false, "XDG_RUNTIME_DIR is not set"});
    }
    const auto cache = environment("XDG_CACHE_HOME");
    const auto home = environment("HOME");
    if (Absolute(cache)) {
        candidates.push_back({*cache + "/" + kOwnFolder, true, {}});
    } else if (Absolute(home)) {
        candidates.push_back({*home + "/.cache/" + kOwnFolder, true, {}});
    } else {
        candidates.push_back({{}, false, "neither XDG_CACHE_HOME nor HOME is set"});
    }
    return candidates;
}

std::string CreatePrivateFolder(const std::string& folder) {
    const std::filesystem::path path = PathFromUtf8(folder);
    for (const auto& each : {path.parent_path(), path}) {
        if (::mkdir(each.c_str(), 0700) != 0 && errno != EEXIST) {
            return "cannot be created: " + Reason(errno);
        }
    }
    return {};
}

std::string InstanceFolderProblem(const std::string& folder) {
    struct stat info {};
    if (::lstat(PathFromUtf8(folder).c_str(), &info) != 0) {
        return "cannot be used: " + Reason(errno);
    }
    if (S_ISLNK(info.st_mode)) {
        return "is a symbolic link";
    }
    if (!S_ISDIR(info.st_mode)) {
        return "is not a folder";
    }
    if (info.st_uid != ::geteuid()) {
        return "belongs to user " + std::to_string(info.st_uid);
    }
    if ((info.st_mode & 077) != 0) {
        return "is open to other users (mode " + ModeText(info.st_mode) + ")";
    }
    if (::access(PathFromUtf8(folder).c_str(), W_OK | X_OK) != 0) {
        return "is not writable: " + Reason(errno);
    }
    return {};
}

bool PeerIsCurrentUser(std::intptr_t socket) {
#ifdef SO_PEERCRED
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return ::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == ::geteuid();
#else
    uid_t uid = 0;
    gid_t gid = 0;
    return ::getpeereid(static_cast<int>(socket), &uid, &gid) == 0 && uid == ::geteuid();
#endif
}

} // namespace velmar
