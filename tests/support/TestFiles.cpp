#include "tests/support/TestFiles.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace velmar::test {

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("velmar-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            m_Path = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::string TempDir::File(std::string_view name) const {
    const auto path = m_Path / std::filesystem::path(std::u8string(name.begin(), name.end()));
    const auto text = path.u8string();
    return {text.begin(), text.end()};
}

void WriteFileBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

Bytes ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ByteWriter& ByteWriter::Int16(std::int16_t value) {
    const auto u = static_cast<std::uint16_t>(value);
    m_Bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
    m_Bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    return *this;
}

ByteWriter& ByteWriter::Int16s(std::initializer_list<std::int16_t> values) {
    for (auto v : values) {
        Int16(v);
    }
    return *this;
}

ByteWriter& ByteWriter::Zeros(std::size_t count) {
    m_Bytes.insert(m_Bytes.end(), count, 0);
    return *this;
}

ByteWriter& ByteWriter::Raw(const Bytes& bytes) {
    m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

ByteWriter& ByteWriter::Text(std::string_view bytes) {
    Int16(static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes.size())));
    m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
    return *this;
}

} // namespace velmar::test
