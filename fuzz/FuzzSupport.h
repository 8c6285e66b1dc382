#pragma once

// What the fuzz targets share: a scratch file for the readers that take a
// file, a way to split one input into parts, and a property check that stops
// the fuzzer with a message.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace velmar::fuzz {

// Stops the run when a property does not hold; libFuzzer keeps the input.
#define VELMAR_FUZZ_CHECK(condition, message)                                                                \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", message, __FILE__, __LINE__);              \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// A folder of this process under the temporary folder, made on first use and
// removed with its content when the process ends through exit(), as libFuzzer
// ends a run. A run that crashes leaves it; scripts/fuzz.sh gives every run a
// temporary folder of its own and removes that.
inline const std::filesystem::path& ScratchFolder() {
    struct Folder {
        Folder()
            : Path(std::filesystem::temp_directory_path() / ("velmar-fuzz-" + std::to_string(getpid()))) {
            std::filesystem::create_directories(Path);
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(Path, ignored);
        }
        Folder(const Folder&) = delete;
        Folder& operator=(const Folder&) = delete;
        std::filesystem::path Path;
    };
    static const Folder folder;
    return folder.Path;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Takes parts off the front of an input: single bytes, then the rest.
class InputParts {
public:
    InputParts(const std::uint8_t* data, std::size_t size)
        : m_Rest(reinterpret_cast<const char*>(data), size) {}
    std::uint8_t Byte() {
        if (m_Rest.empty()) {
            return 0;
        }
        const auto value = static_cast<std::uint8_t>(m_Rest.front());
        m_Rest.remove_prefix(1);
        return value;
    }
    // Up to `count` bytes.
    std::string_view Bytes(std::size_t count) {
        const std::string_view part = m_Rest.substr(0, count);
        m_Rest.remove_prefix(part.size());
        return part;
    }
    // Everything up to the next 0 byte (which is dropped), or the rest.
    std::string_view UntilZero() {
        const std::size_t end = m_Rest.find('\0');
        const std::string_view part = m_Rest.substr(0, end);
        m_Rest.remove_prefix(end == std::string_view::npos ? m_Rest.size() : end + 1);
        return part;
    }
    std::string_view Rest() const { return m_Rest; }

private:
    std::string_view m_Rest;
};

// The schedule record (little-endian) or its text form (big-endian) that a
// schedule writes after reading the start of `bytes`: the same values, except
// that a negative period count, which reads as no periods, is written as 0.
// None when `bytes` ends before the record does.
inline std::optional<std::string> ExpectedRecord(std::string_view bytes, bool bigEndian) {
    std::string expected;
    std::size_t at = 0;
    auto next = [&](std::int16_t& value) {
        if (at + 2 > bytes.size()) {
            return false;
        }
        const auto first = static_cast<std::uint8_t>(bytes[at]);
        const auto second = static_cast<std::uint8_t>(bytes[at + 1]);
        value = static_cast<std::int16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        at += 2;
        return true;
    };
    auto put = [&](std::int16_t value) {
        const auto high = static_cast<char>(static_cast<std::uint16_t>(value) >> 8);
        const auto low = static_cast<char>(value & 0xFF);
        expected += bigEndian ? high : low;
        expected += bigEndian ? low : high;
    };
    std::int16_t value = 0;
    for (int dayType = 0; dayType < 23; ++dayType) {
        for (int flag = 0; flag < 2; ++flag) {
            if (!next(value)) {
                return std::nullopt;
            }
            put(value);
        }
        std::int16_t count = 0;
        if (!next(count)) {
            return std::nullopt;
        }
        const int periods = count < 0 ? 0 : count;
        put(static_cast<std::int16_t>(periods));
        for (int i = 0; i < 2 * periods + 1; ++i) { // the periods' times, then the row
            if (!next(value)) {
                return std::nullopt;
            }
            put(value);
        }
    }
    if (!next(value)) {
        return std::nullopt;
    }
    put(value);
    return expected;
}

} // namespace velmar::fuzz
