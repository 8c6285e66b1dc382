#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace velmar {

// A binary file read or written sequentially: 16-bit little-endian integers,
// byte blocks and texts of a 16-bit unsigned byte count followed by that many
// 8-bit bytes. Reading past the end never touches memory beyond the file: the
// values read are 0 and empty, and Ended() turns true.
//
// Files opened for reading share read, write and delete access with other
// processes, so that a program writing the file is never blocked by us.
class BinaryFile {
public:
    enum class Mode {
        Read,     // existing file, read only
        Update,   // read and write; created when missing, never truncated
        Truncate, // write; created or emptied
    };

    // Opens the file at a UTF-8 path; FileError when it cannot be opened.
    BinaryFile(const std::string& path, Mode mode);
    ~BinaryFile();
    BinaryFile(const BinaryFile&) = delete;
    BinaryFile& operator=(const BinaryFile&) = delete;

    std::int16_t ReadInt16();
    std::vector<std::uint8_t> ReadBytes(std::size_t count);
    // The text's raw 8-bit bytes; empty when the text runs past the end of the file.
    std::string ReadText();

    // FileError when the write fails; OverflowError for a text over 65535 bytes.
    void WriteInt16(std::int16_t value);
    void WriteBytes(const std::vector<std::uint8_t>& bytes);
    void WriteText(std::string_view bytes);

    // True once a read asked for bytes that were not in the file.
    bool Ended() const { return m_Ended; }
    // Size of the file in bytes when it was opened.
    std::uint64_t Size() const { return m_Size; }
    std::uint64_t Position() const { return m_Position; }

    // Closes the file; FileError when buffered data cannot be written.
    void Close();

private:
    bool ReadExactly(void* buffer, std::size_t count);
    void WriteExactly(const void* buffer, std::size_t count);

    std::FILE* m_File = nullptr;
    std::string m_Path;
    std::uint64_t m_Size = 0;
    std::uint64_t m_Position = 0;
    bool m_Ended = false;
    bool m_LastWasRead = false; // a write after a read needs a seek in between
};

} // namespace velmar
