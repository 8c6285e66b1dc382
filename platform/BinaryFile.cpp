#include "platform/BinaryFile.h"

#include "common/Errors.h"
#include "common/FileSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {

namespace {

#ifdef _WIN32
// Opens with full sharing, so that the program writing a profile is never
// blocked by our read, not even when it deletes or renames the file.
std::FILE* OpenShared(const std::string& path, BinaryFile::Mode mode) {
    const std::wstring wide = PathFromUtf8(path).wstring();
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    int flags = _O_BINARY | _O_RDONLY;
    const char* fmode = "rb";
    if (mode == BinaryFile::Mode::Update) {
        access |= GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
        flags = _O_BINARY | _O_RDWR;
        fmode = "r+b";
    } else if (mode == BinaryFile::Mode::Truncate) {
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
        flags = _O_BINARY | _O_WRONLY;
        fmode = "wb";
    }
    HANDLE handle = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, fmode);
    if (file == nullptr) {
        _close(fd);
    }
    return file;
}
#else
std::FILE* OpenShared(const std::string& path, BinaryFile::Mode mode) {
    int flags = O_RDONLY;
    const char* fmode = "rb";
    if (mode == BinaryFile::Mode::Update) {
        flags = O_RDWR | O_CREAT;
        fmode = "r+b";
    } else if (mode == BinaryFile::Mode::Truncate) {
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        fmode = "wb";
    }
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, fmode);
    if (file == nullptr) {
        ::close(fd);
    }
    return file;
}
#endif

} // namespace

BinaryFile::BinaryFile(const std::string& path, Mode mode) : m_File(OpenShared(path, mode)), m_Path(path) {
    if (m_File == nullptr) {
        throw FileError("cannot open \"" + path + "\": " + std::strerror(errno));
    }
    if (std::fseek(m_File, 0, SEEK_END) == 0) {
        const long end = std::ftell(m_File);
        m_Size = end < 0 ? 0 : static_cast<std::uint64_t>(end);
    }
    std::fseek(m_File, 0, SEEK_SET);
}

BinaryFile::~BinaryFile() {
    if (m_File != nullptr) {
        std::fclose(m_File);
    }
}

bool BinaryFile::ReadExactly(void* buffer, std::size_t count) {
    if (m_Ended || m_File == nullptr) {
        m_Ended = true;
        return false;
    }
    m_LastWasRead = true;
    const std::size_t got = std::fread(buffer, 1, count, m_File);
    m_Position += got;
    if (got != count) {
        m_Ended = true;
        return false;
    }
    return true;
}

void BinaryFile::WriteExactly(const void* buffer, std::size_t count) {
    if (m_File != nullptr && m_LastWasRead) {
        std::fseek(m_File, 0, SEEK_CUR);
        m_LastWasRead = false;
    }
    if (m_File == nullptr || std::fwrite(buffer, 1, count, m_File) != count) {
        throw FileError("cannot write \"" + m_Path + "\"");
    }
    m_Position += count;
}

std::int16_t BinaryFile::ReadInt16() {
    std::array<std::uint8_t, 2> bytes{};
    if (!ReadExactly(bytes.data(), bytes.size())) {
        return 0;
    }
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8)));
}

std::vector<std::uint8_t> BinaryFile::ReadBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count, 0);
    if (count > 0 && !ReadExactly(bytes.data(), count)) {
        std::fill(bytes.begin(), bytes.end(), 0);
    }
    return bytes;
}

std::string BinaryFile::ReadText() {
    const auto length = static_cast<std::uint16_t>(ReadInt16());
    if (m_Ended || length == 0) {
        return {};
    }
    std::string text(length, '\0');
    if (!ReadExactly(text.data(), length)) {
        return {};
    }
    return text;
}

void BinaryFile::WriteInt16(std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    const std::array<std::uint8_t, 2> bytes = {static_cast<std::uint8_t>(u & 0xFF),
                                               static_cast<std::uint8_t>(u >> 8)};
    WriteExactly(bytes.data(), bytes.size());
}

void BinaryFile::WriteBytes(const std::vector<std::uint8_t>& bytes) {
    if (!bytes.empty()) {
        WriteExactly(bytes.data(), bytes.size());
    }
}

void BinaryFile::WriteText(std::string_view bytes) {
    if (bytes.size() > 0xFFFF) {
        throw OverflowError("text of " + std::to_string(bytes.size()) + " bytes is longer than 65535");
    }
    WriteInt16(static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes.size())));
    if (!bytes.empty()) {
        WriteExactly(bytes.data(), bytes.size());
    }
}

void BinaryFile::Close() {
    if (m_File == nullptr) {
        return;
    }
    std::FILE* file = m_File;
    m_File = nullptr;
    if (std::fclose(file) != 0) {
        throw FileError("cannot close \"" + m_Path + "\"");
    }
}

} // namespace velmar
