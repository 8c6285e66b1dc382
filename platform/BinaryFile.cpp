#include "platform/BinaryFile.h"

#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmar {

namespace {

constexpr std::intptr_t kClosed = -1;
// Large enough for any profile file (at most about 3.9 MB: twelve texts of
// 64 KiB and 23 day types of 32,767 periods) and any calendar in one read.
constexpr std::uint64_t kReadChunk = std::uint64_t{4} << 20U;
constexpr std::size_t kWriteChunk = std::size_t{64} << 10U;
constexpr std::uint64_t kUnknownPosition = std::numeric_limits<std::uint64_t>::max();

FileFaultInjector g_Faults;

std::error_code Injected(FileCall call, const std::string& path) {
    return g_Faults ? g_Faults(call, path) : std::error_code{};
}

[[noreturn]] void ThrowFileError(const char* action, const std::string& path, const std::string& reason) {
    throw FileError(std::string(action) + " \"" + path + "\": " + reason, reason);
}

// The same for a failed system call: the system's words, and its error kept
// for callers that tell errors apart (a file that is gone).
[[noreturn]] void ThrowFileError(const char* action, const std::string& path, const std::error_code& error) {
    const std::string reason = SystemErrorText(error);
    throw FileError(std::string(action) + " \"" + path + "\": " + reason, reason, error);
}

const char* const kNotARegularFile = "not a regular file";

struct Opened {
    std::intptr_t Handle = kClosed;
    std::uint64_t Size = 0;
};

#ifdef _WIN32
HANDLE AsHandle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

// Opens with full sharing, so that the program writing a profile is never
// blocked by our read, not even when it deletes or renames the file. Only
// disk files are kept: pipes and devices (CON, NUL, \\.\pipe\...) are refused
// before anything is read from them.
Opened OpenNative(const std::string& path, BinaryFile::Mode mode) {
    if (const auto error = Injected(FileCall::Open, path)) {
        ThrowFileError("cannot open", path, error);
    }
    const std::wstring wide = PathFromUtf8(path).wstring();
    DWORD access = GENERIC_READ;
    DWORD disposition = OPEN_EXISTING;
    if (mode == BinaryFile::Mode::Update) {
        access |= GENERIC_WRITE;
        disposition = OPEN_ALWAYS;
    } else if (mode == BinaryFile::Mode::Truncate) {
        access = GENERIC_WRITE;
        disposition = CREATE_ALWAYS;
    }
    HANDLE handle = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        // A folder cannot be opened as a file, and Windows calls that "access
        // is denied"; the folder is named for what it is.
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (code == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
            (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            ThrowFileError("cannot open", path,
                           SystemErrorText(std::make_error_code(std::errc::is_a_directory)));
        }
        ThrowFileError("cannot open", path, std::error_code(static_cast<int>(code), std::system_category()));
    }
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        ThrowFileError("cannot open", path, kNotARegularFile);
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(handle, &size) == 0) {
        const auto error = LastSystemError();
        CloseHandle(handle);
        ThrowFileError("cannot open", path, error);
    }
    return {reinterpret_cast<std::intptr_t>(handle), static_cast<std::uint64_t>(size.QuadPart)};
}

// Bytes read, 0 at the end of the file, -1 on failure.
long long ReadNative(std::intptr_t handle, char* buffer, std::size_t count) {
    DWORD got = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, DWORD{1} << 30U));
    if (ReadFile(AsHandle(handle), buffer, wanted, &got, nullptr) == 0) {
        return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
    }
    return got;
}

long long WriteNative(std::intptr_t handle, const char* buffer, std::size_t count) {
    DWORD written = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(count, DWORD{1} << 30U));
    if (WriteFile(AsHandle(handle), buffer, wanted, &written, nullptr) == 0) {
        return -1;
    }
    return written;
}

bool SeekNative(std::intptr_t handle, std::uint64_t position) {
    LARGE_INTEGER offset{};
    offset.QuadPart = static_cast<LONGLONG>(position);
    return SetFilePointerEx(AsHandle(handle), offset, nullptr, FILE_BEGIN) != 0;
}

bool CloseNative(std::intptr_t handle) {
    return CloseHandle(AsHandle(handle)) != 0;
}
#else
// Opens without blocking: a FIFO would otherwise wait for a writer, and some
// devices for their medium. Anything but a regular file is refused before a
// byte is read.
Opened OpenNative(const std::string& path, BinaryFile::Mode mode) {
    if (const auto error = Injected(FileCall::Open, path)) {
        ThrowFileError("cannot open", path, error);
    }
    int flags = O_RDONLY;
    if (mode == BinaryFile::Mode::Update) {
        flags = O_RDWR | O_CREAT;
    } else if (mode == BinaryFile::Mode::Truncate) {
        flags = O_WRONLY | O_CREAT | O_TRUNC;
    }
    int fd = -1;
    do {
        fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC,
                    0666); // NOLINT(cppcoreguidelines-pro-type-vararg)
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        ThrowFileError("cannot open", path, LastSystemError());
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const auto error = LastSystemError();
        ::close(fd);
        ThrowFileError("cannot open", path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        ThrowFileError("cannot open", path,
                       S_ISDIR(info.st_mode)
                           ? SystemErrorText(std::make_error_code(std::errc::is_a_directory))
                           : kNotARegularFile);
    }
    return {fd, static_cast<std::uint64_t>(info.st_size)};
}

long long ReadNative(std::intptr_t handle, char* buffer, std::size_t count) {
    ssize_t got = -1;
    do {
        got = ::read(static_cast<int>(handle), buffer, count);
    } while (got < 0 && errno == EINTR);
    return got;
}

long long WriteNative(std::intptr_t handle, const char* buffer, std::size_t count) {
    ssize_t written = -1;
    do {
        written = ::write(static_cast<int>(handle), buffer, count);
    } while (written < 0 && errno == EINTR);
    return written;
}

bool SeekNative(std::intptr_t handle, std::uint64_t position) {
    return ::lseek(static_cast<int>(handle), static_cast<off_t>(position), SEEK_SET) >= 0;
}

bool CloseNative(std::intptr_t handle) {
    // Not retried on EINTR: the descriptor is gone either way.
    return ::close(static_cast<int>(handle)) == 0;
}
#endif

} // namespace

BinaryFile::BinaryFile(const std::string& path, Mode mode) : m_Path(path) {
    const Opened opened = OpenNative(path, mode);
    m_Handle = opened.Handle;
    m_Size = opened.Size;
    m_End = opened.Size;
}

BinaryFile::~BinaryFile() {
    if (m_Handle == kClosed) {
        return;
    }
    try {
        Flush();
    } catch (const FileError&) {
        // Close() is where a writer learns of this; a destructor cannot tell.
    }
    CloseNative(m_Handle);
}

void BinaryFile::Fail(const char* action, const std::error_code& error) const {
    ThrowFileError(action, m_Path, error);
}

void BinaryFile::SeekTo(std::uint64_t position) {
    if (m_OsPosition == position) {
        return;
    }
    if (!SeekNative(m_Handle, position)) {
        const auto error = LastSystemError();
        m_OsPosition = kUnknownPosition;
        Fail("cannot seek in", error);
    }
    m_OsPosition = position;
}

bool BinaryFile::Refill(std::uint64_t position, std::size_t wanted) {
    Flush(); // what was written must be in the file before it is read back
    const std::uint64_t size = std::min(m_End - position, std::max<std::uint64_t>(wanted, kReadChunk));
    SeekTo(position);
    m_Buffer.resize(static_cast<std::size_t>(size));
    m_BufferStart = position;
    std::size_t got = 0;
    while (got < m_Buffer.size()) {
        std::error_code error = Injected(FileCall::Read, m_Path);
        long long n = -1;
        if (!error) {
            n = ReadNative(m_Handle, m_Buffer.data() + got, m_Buffer.size() - got);
            if (n < 0) {
                error = LastSystemError();
            }
        }
        if (error) {
            m_Buffer.clear();
            m_OsPosition = kUnknownPosition;
            Fail("cannot read", error);
        }
        if (n == 0) {
            break; // the real end: the file shrank since it was opened
        }
        got += static_cast<std::size_t>(n);
    }
    m_OsPosition = position + got;
    if (got < m_Buffer.size()) {
        m_Buffer.resize(got);
        m_End = position + got;
    }
    return got > 0;
}

bool BinaryFile::ReadExactly(void* buffer, std::size_t count) {
    if (m_Ended || m_Handle == kClosed) {
        m_Ended = true;
        return false;
    }
    // The position moves only once the read is complete or has met the end,
    // never for a read that fails.
    auto* out = static_cast<char*>(buffer);
    std::uint64_t position = m_Position;
    std::size_t done = 0;
    while (done < count) {
        const std::uint64_t bufferEnd = m_BufferStart + m_Buffer.size();
        if (position >= m_BufferStart && position < bufferEnd) {
            const auto offset = static_cast<std::size_t>(position - m_BufferStart);
            const std::size_t n = std::min(count - done, m_Buffer.size() - offset);
            std::memcpy(out + done, m_Buffer.data() + offset, n);
            done += n;
            position += n;
        } else if (position >= m_End || !Refill(position, count - done)) {
            m_Position = position;
            m_Ended = true;
            return false;
        }
    }
    m_Position = position;
    return true;
}

void BinaryFile::Flush() {
    std::size_t done = 0;
    while (done < m_Pending.size()) {
        std::error_code error = Injected(FileCall::Write, m_Path);
        long long n = -1;
        if (!error) {
            SeekTo(m_PendingStart + done);
            n = WriteNative(m_Handle, m_Pending.data() + done, m_Pending.size() - done);
            if (n <= 0) {
                error = n < 0 ? LastSystemError() : std::make_error_code(std::errc::no_space_on_device);
            }
        }
        if (error) {
            // What was written stays written; the rest is tried again by the
            // next flush, and Close() reports the failure.
            m_Pending.erase(m_Pending.begin(), m_Pending.begin() + static_cast<std::ptrdiff_t>(done));
            m_PendingStart += done;
            m_OsPosition = kUnknownPosition;
            Fail("cannot write", error);
        }
        done += static_cast<std::size_t>(n);
        m_OsPosition = m_PendingStart + done;
    }
    m_Pending.clear();
}

void BinaryFile::WriteExactly(const void* buffer, std::size_t count) {
    if (m_Handle == kClosed) {
        Fail("cannot write", std::make_error_code(std::errc::bad_file_descriptor));
    }
    if (!m_Pending.empty() && m_PendingStart + m_Pending.size() != m_Position) {
        Flush();
    }
    if (m_Pending.empty()) {
        m_PendingStart = m_Position;
    }
    m_Buffer.clear(); // bytes read before may be overwritten now
    const auto* bytes = static_cast<const char*>(buffer);
    m_Pending.insert(m_Pending.end(), bytes, bytes + count);
    m_Position += count;
    m_End = std::max(m_End, m_Position);
    if (m_Pending.size() >= kWriteChunk) {
        Flush();
    }
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
    if (m_Handle == kClosed) {
        return;
    }
    const std::intptr_t handle = m_Handle;
    try {
        Flush();
    } catch (const FileError&) {
        m_Handle = kClosed;
        CloseNative(handle);
        throw;
    }
    m_Handle = kClosed;
    if (!CloseNative(handle)) {
        Fail("cannot close", LastSystemError());
    }
}

void SetFileFaultInjector(FileFaultInjector injector) {
    g_Faults = std::move(injector);
}

} // namespace velmar
