#pragma once

// The floors of the reload cycle: the least work that lists the profile files
// of a folder, and the least that reads them, written against the system
// calls directly.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace velmar::bench {

// What the floor of the tick keeps of each file.
struct FloorEntry {
    std::string Name;
    std::int64_t Seconds = 0;
    std::uint32_t Nanoseconds = 0;
    std::uint64_t Size = 0;
    bool operator==(const FloorEntry&) const = default;
};

// Reads the folder through its handle and asks for type, modification time and
// size of every "Profile_????.dat" (ASCII letters in any case) in one statx
// relative to it: one system call per file.
std::vector<FloorEntry> ListFloor(const std::string& folder);

// Lists the folder as ListFloor does and reads the first `limit` files, each
// with open, one fstat, as many read(2) as its size needs, and close. Returns
// the bytes read.
std::size_t ReadFloor(const std::string& folder, std::size_t limit);

} // namespace velmar::bench
