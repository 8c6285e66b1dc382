#include "common/Wildcard.h"

#include <array>
#include <gtest/gtest.h>

namespace velmar {
namespace {

TEST(WildcardMatch, Table) {
    struct Case {
        const char* pattern;
        const char* name;
        bool ignoreCase;
        bool matches;
    };
    const auto cases = std::to_array<Case>({
        {"Profile_????.dat", "Profile_0001.dat", true, true},
        {"Profile_????.dat", "PROFILE_0001.DAT", true, true},
        {"Profile_????.dat", "PROFILE_0001.DAT", false, false},
        {"Profile_????.dat", "Profile_001.dat", true, false},
        {"Profile_????.dat", "Profile_00001.dat", true, false},
        {"Profile_????.dat", "Profile_ÅÄÖx.dat", true, true}, // "?" is one character, not one byte
        {"*.dat", "a.dat", false, true},
        {"*.dat", ".dat", false, true},
        {"*.dat", "a.dat.bak", false, false},
        {"a*b*c", "axxbyyc", false, true},
        {"a*b*c", "axxbyy", false, false},
        {"*", "", false, true},
        {"?", "", false, false},
        {"åsa", "ÅSA", true, true},
        // Only the pattern's "*" and "?" are wildcards; in the name they are ordinary characters.
        {"*.cal", "*x.cal", false, true},
        {"*.cal", "*.cal", false, true},
        {"a*", "a*b", false, true},
        {"*b", "*b*b", false, true},
        {"?x", "?x", false, true},
        {"??", "?", false, false},
        {"a?c", "a?c", false, true},
        {"*?", "?", false, true},
        {"x*", "*x", false, false},
        {"*.dat", "*", false, false},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name, c.ignoreCase), c.matches) << c.pattern << " ~ " << c.name;
    }
}

} // namespace
} // namespace velmar
