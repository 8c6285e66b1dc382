#pragma once

#include "common/Errors.h"

#include <array>
#include <cstddef>
#include <string>

namespace velmar {

// A fixed, 0-based table whose every access is bounds-checked: an index
// outside 0..N-1 raises OutOfRangeError and touches nothing.
template <typename T, std::size_t N> class FixedTable {
public:
    static constexpr long long kSize = static_cast<long long>(N);

    T& operator[](long long index) { return m_Items[Checked(index)]; }
    const T& operator[](long long index) const { return m_Items[Checked(index)]; }

    static constexpr long long size() { return kSize; }
    void fill(const T& value) { m_Items.fill(value); }

    auto begin() { return m_Items.begin(); }
    auto end() { return m_Items.end(); }
    auto begin() const { return m_Items.begin(); }
    auto end() const { return m_Items.end(); }

    bool operator==(const FixedTable&) const = default;

private:
    static std::size_t Checked(long long index) {
        if (index < 0 || index >= kSize) {
            throw OutOfRangeError("index " + std::to_string(index) + " outside 0.." +
                                  std::to_string(kSize - 1));
        }
        return static_cast<std::size_t>(index);
    }

    std::array<T, N> m_Items{};
};

} // namespace velmar
