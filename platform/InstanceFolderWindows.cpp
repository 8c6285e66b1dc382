// The single-instance folder on Windows: the program's own folder under the
// user's local application data, which the system keeps the user's; and the
// user behind a named pipe, told by its server process's token.

#include "common/Paths.h"
#include "platform/InstanceFolder.h"
#include "platform/SystemError.h"

#include <memory>
#include <vector>
#include <windows.h>

namespace velmar {

namespace {

constexpr const char* kOwnFolder = "velmar-active-profiles";

std::string Reason(DWORD error) {
    return SystemErrorText({static_cast<int>(error), std::system_category()});
}

// The user's security identifier in a process's token; empty when unknown.
std::vector<BYTE> TokenUserOf(HANDLE process) {
    HANDLE token = nullptr;
    if (OpenProcessToken(process, TOKEN_QUERY, &token) == 0) {
        return {};
    }
    DWORD size = 0;
    GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<BYTE> buffer(size);
    const bool read = size > 0 && GetTokenInformation(token, TokenUser, buffer.data(), size, &size) != 0;
    CloseHandle(token);
    if (!read) {
        return {};
    }
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    const DWORD length = GetLengthSid(user->User.Sid);
    const auto* sid = static_cast<const BYTE*>(user->User.Sid);
    return {sid, sid + length};
}

} // namespace

std::vector<InstanceFolderCandidate> InstanceFolderCandidates(const EnvironmentLookup& environment) {
    const auto local = environment("LOCALAPPDATA");
    if (!local || local->empty()) {
        return {{{}, false, "LOCALAPPDATA is not set"}};
    }
    return {{*local + "\\" + kOwnFolder, true, {}}};
}

std::string CreatePrivateFolder(const std::string& folder) {
    // The folder inherits the user's own permissions from LOCALAPPDATA.
    if (CreateDirectoryW(PathFromUtf8(folder).c_str(), nullptr) == 0 &&
        GetLastError() != ERROR_ALREADY_EXISTS) {
        return "cannot be created: " + Reason(GetLastError());
    }
    return {};
}

std::string InstanceFolderProblem(const std::string& folder) {
    const DWORD attributes = GetFileAttributesW(PathFromUtf8(folder).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return "cannot be used: " + Reason(GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return "is a link";
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        return "is not a folder";
    }
    return {};
}

bool PeerIsCurrentUser(std::intptr_t socket) {
    ULONG server = 0;
    if (GetNamedPipeServerProcessId(reinterpret_cast<HANDLE>(socket), &server) == 0) {
        return false;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, server);
    if (process == nullptr) {
        return false;
    }
    const std::vector<BYTE> peer = TokenUserOf(process);
    CloseHandle(process);
    const std::vector<BYTE> own = TokenUserOf(GetCurrentProcess());
    return !peer.empty() && peer == own;
}

} // namespace velmar
