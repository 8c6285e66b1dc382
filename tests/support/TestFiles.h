#pragma once

// Temporary folders, file contents and little-endian record builders for tests.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace velmar::test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    // Path of a file inside the folder as UTF-8 text.
    std::string File(std::string_view name) const;

private:
    std::filesystem::path m_Path;
};

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes);
// Moves the file's modification time by `shift`, as finely as the file system
// keeps it (100 ns on Windows, where std::filesystem of mingw-w64 sets whole
// seconds only).
void ShiftModificationTime(const std::filesystem::path& path, std::chrono::nanoseconds shift);
Bytes ReadFileBytes(const std::filesystem::path& path);

// Builds binary records field by field, little-endian.
class ByteWriter {
public:
    ByteWriter& Int16(std::int16_t value);
    ByteWriter& Int16s(std::initializer_list<std::int16_t> values);
    ByteWriter& Zeros(std::size_t count);
    ByteWriter& Raw(const Bytes& bytes);
    // A 16-bit byte count followed by the bytes of `text` as given (8-bit).
    ByteWriter& Text(std::string_view bytes);

    const Bytes& Data() const { return m_Bytes; }

private:
    Bytes m_Bytes;
};

} // namespace velmar::test
