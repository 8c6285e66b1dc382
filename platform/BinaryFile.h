#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velmar {

// A binary file read or written sequentially: 16-bit little-endian integers,
// byte blocks and texts of a 16-bit unsigned byte count followed by that many
// 8-bit bytes.
//
// Only regular files are opened: anything else (a folder, a FIFO, a device) is
// refused with FileError before a byte is read, and the open never waits for
// a writer or a device. Reading takes the file's bytes into memory in as few
// reads as its size needs (one for any profile or calendar file) and parses
// from there. The end of the file is its size when it was opened, or where the
// file really ends if it shrank since: reading past it never touches memory
// beyond the file, gives 0 and empty texts, and turns Ended() true. A read
// that fails is no end: it raises FileError with the system's reason, and the
// position stays where it was.
//
// Files opened for reading share read, write and delete access with other
// processes, so that a program writing the file is never blocked by us.
// Writes are buffered; Close() writes them out and reports any failure.
class BinaryFile {
public:
    enum class Mode {
        Read,     // existing file, read only
        Update,   // read and write; created when missing, never truncated
        Truncate, // write; created or emptied
    };

    // Opens the file at a UTF-8 path; FileError when it cannot be opened or
    // is not a regular file.
    BinaryFile(const std::string& path, Mode mode);
    // Closes the file; a failure to write buffered data is lost here, so
    // writers call Close().
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    // FileError when the system fails the read.
    std::int16_t ReadInt16();
    std::vector<std::uint8_t> ReadBytes(std::size_t count);
    // The text's raw 8-bit bytes; empty when the text runs past the end of the file.
    std::string ReadText();
    // Up to `count` bytes from the position on: fewer where the file ends
    // (Ended() is then true). FileError when the system fails the read.
    std::vector<std::uint8_t> ReadUpTo(std::size_t count);

    // FileError when the write fails; OverflowError for a text over 65535 bytes.
    void WriteInt16(std::int16_t value);
    void WriteBytes(const std::vector<std::uint8_t>& bytes);
    void WriteText(std::string_view bytes);

    // True once a read asked for bytes that were not in the file.
    bool Ended() const { return m_Ended; }
    // Size of the file in bytes when it was opened.
    std::uint64_t Size() const { return m_Size; }
    std::uint64_t Position() const { return m_Position; }

    // Writes what is buffered and closes the file; FileError when that fails.
    void Close();

private:
    bool ReadExactly(void* buffer, std::size_t count);
    void WriteExactly(const void* buffer, std::size_t count);
    // Reads the file from `position` on into m_Buffer; false at the real end.
    bool Refill(std::uint64_t position, std::size_t wanted);
    void Flush();
    void SeekTo(std::uint64_t position);
    [[noreturn]] void Fail(const char* action, const std::error_code& error) const;

    std::intptr_t m_Handle = -1; // a descriptor on POSIX, a HANDLE on Windows; -1 when closed
    std::string m_Path;
    std::uint64_t m_Size = 0;       // when opened
    std::uint64_t m_End = 0;        // where reading stops: the size, or where the file really ended
    std::uint64_t m_Position = 0;   // of the next byte read or written
    std::uint64_t m_OsPosition = 0; // of the system's file pointer
    std::vector<char> m_Buffer;     // bytes read, from file offset m_BufferStart on
    std::uint64_t m_BufferStart = 0;
    std::vector<char> m_Pending; // bytes written but not yet handed to the system
    std::uint64_t m_PendingStart = 0;
    bool m_Ended = false;
};

// The operating-system calls under BinaryFile, as a seam for tests.
enum class FileCall { Open, Read, Write };
// Asked before every call with the file's path; an error code it returns makes
// the call fail with that error, as a failing disk or a refused open would.
using FileFaultInjector = std::function<std::error_code(FileCall call, const std::string& path)>;
// Installs an injector (nullptr removes it). For tests only; not thread-safe.
void SetFileFaultInjector(FileFaultInjector injector);

} // namespace velmar
