#pragma once

#include "common/Errors.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmar {

// An ordered collection of shared objects with 1-based positions. Items stay in
// the order they were added; nothing sorts them. Removing an item only drops
// the collection's reference: a holder elsewhere keeps the object alive.
template <typename T> class cCollection {
public:
    using Pointer = std::shared_ptr<T>;

    std::int32_t Count() const { return static_cast<std::int32_t>(m_Items.size()); }

    // Position 1 is the first item; anything outside 1..Count raises OutOfRangeError.
    const Pointer& Item(std::int32_t position) const { return m_Items[Checked(position)]; }

    void Add(Pointer item) { m_Items.push_back(std::move(item)); }

    void Remove(std::int32_t position) {
        m_Items.erase(m_Items.begin() + static_cast<std::ptrdiff_t>(Checked(position)));
    }

    void Clear() { m_Items.clear(); }

    // 1-based position of the first item that is the very same object, 0 when absent.
    std::int32_t PositionOf(const T* item) const {
        for (std::size_t i = 0; i < m_Items.size(); ++i) {
            if (m_Items[i].get() == item) {
                return static_cast<std::int32_t>(i + 1);
            }
        }
        return 0;
    }

    auto begin() const { return m_Items.begin(); }
    auto end() const { return m_Items.end(); }

private:
    std::size_t Checked(std::int32_t position) const {
        if (position < 1 || position > Count()) {
            throw OutOfRangeError("collection position " + std::to_string(position) + " outside 1.." +
                                  std::to_string(Count()));
        }
        return static_cast<std::size_t>(position - 1);
    }

    std::vector<Pointer> m_Items;
};

} // namespace velmar
