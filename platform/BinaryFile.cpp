#include "platform/BinaryFile.h"

#include "common/Errors.h"
#include "common/Paths.h"
#include "platform/BinaryFileNative.h"
#include "platform/SystemError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace velmar {

namespace native {

namespace {
FileFaultInjector g_Faults;
} // namespace

std::error_code InjectedFault(FileCall call, const std::string& path) {
    return g_Faults ? g_Faults(call, path) : std::error_code{};
}

void ThrowFileError(const char* action, const std::string& path, const std::string& reason) {
    throw FileError(std::string(action) + " \"" + path + "\": " + reason, reason);
}

// The same for a failed system call: the system's words, and its error kept
// for callers that tell errors apart (a file that is gone).
void ThrowFileError(const char* action, const std::string& path, const std::error_code& error) {
    const std::string reason = SystemErrorText(error);
    throw FileError(std::string(action) + " \"" + path + "\": " + reason, reason, error);
}

} // namespace native

namespace {

using native::CloseNative;
using native::OpenNative;
using native::ReadNative;
using native::SeekNative;
using native::WriteNative;

constexpr std::intptr_t kClosed = native::kClosedHandle;
// Large enough for any profile file (at most about 3.9 MB: twelve texts of
// 64 KiB and 23 day types of 32,767 periods) and any calendar in one read.
constexpr std::uint64_t kReadChunk = std::uint64_t{4} << 20U;
constexpr std::size_t kWriteChunk = std::size_t{64} << 10U;
constexpr std::uint64_t kUnknownPosition = std::numeric_limits<std::uint64_t>::max();

std::error_code Injected(FileCall call, const std::string& path) {
    return native::InjectedFault(call, path);
}

} // namespace

BinaryFile::BinaryFile(const std::string& path, Mode mode) : m_Path(path) {
    const native::OpenedFile opened = OpenNative(path, mode);
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
    native::ThrowFileError(action, m_Path, error);
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

std::vector<std::uint8_t> BinaryFile::ReadUpTo(std::size_t count) {
    const std::uint64_t start = m_Position;
    const std::uint64_t left = m_End > start ? m_End - start : 0;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, left)));
    if (bytes.empty()) {
        m_Ended = m_Ended || count > 0;
        return bytes;
    }
    if (!ReadExactly(bytes.data(), bytes.size())) {
        bytes.resize(static_cast<std::size_t>(m_Position - start)); // the file shrank since it was opened
    }
    if (bytes.size() < count) {
        m_Ended = true;
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
    native::g_Faults = std::move(injector);
}

} // namespace velmar
