#include "common/Numeric.h"

#include "common/Collection.h"
#include "common/Errors.h"
#include "common/FixedTable.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace velmar {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double in;
        double out;
    };
    const auto cases = std::to_array<Case>({
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {3.5, 4},
        {-0.5, -0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4, 2},
        {2.6, 3},
        {-2.6, -3},
        {192.2, 192},
        {20.5, 20},
        {961.0 / 5, 192},
        {0, 0},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.in), c.out) << c.in;
    }
}

TEST(CheckedNarrowing, RaisesOverflowBeyondTheWidth) {
    EXPECT_EQ(ToInt16(32767), 32767);
    EXPECT_EQ(ToInt16(-32768), -32768);
    EXPECT_THROW(ToInt16(32768), OverflowError);
    EXPECT_THROW(ToInt16(-32769), OverflowError);
    EXPECT_EQ(ToInt32(2147483647LL), 2147483647);
    EXPECT_THROW(ToInt32(2147483648LL), OverflowError);

    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768); // half to even stays in range
    EXPECT_THROW(RoundToInt16(32767.5), OverflowError);
    EXPECT_THROW(RoundToInt16(std::nan("")), OverflowError);
    EXPECT_THROW(RoundToInt32(std::numeric_limits<double>::infinity()), OverflowError);
}

TEST(FixedTable, EveryAccessIsBoundsChecked) {
    FixedTable<int, 3> table;
    table[2] = 7;
    EXPECT_EQ(table[2], 7);
    EXPECT_THROW(table[3], OutOfRangeError);
    EXPECT_THROW(table[-1], OutOfRangeError);
}

TEST(Collection, PositionsAreOneBasedAndRemovalKeepsHoldersAlive) {
    cCollection<int> items;
    auto first = std::make_shared<int>(1);
    items.Add(first);
    items.Add(std::make_shared<int>(2));
    EXPECT_EQ(items.Count(), 2);
    EXPECT_EQ(*items.Item(2), 2);
    EXPECT_THROW(items.Item(0), OutOfRangeError);
    EXPECT_THROW(items.Item(3), OutOfRangeError);
    EXPECT_EQ(items.PositionOf(first.get()), 1);

    items.Remove(1);
    EXPECT_EQ(items.Count(), 1);
    EXPECT_EQ(*first, 1); // still alive for its other holder
    EXPECT_EQ(items.PositionOf(first.get()), 0);
}

} // namespace
} // namespace velmar
