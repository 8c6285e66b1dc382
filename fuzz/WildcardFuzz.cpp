// WildcardMatch against a reference matcher: a table over the code points of
// pattern and name, where only the pattern's "*" and "?" are wildcards.

#include "common/CodePage.h"
#include "common/Wildcard.h"
#include "fuzz/FuzzSupport.h"

#include <vector>

namespace {

bool Reference(std::u32string pattern, std::u32string name, bool ignoreCase) {
    if (ignoreCase) {
        for (auto* text : {&pattern, &name}) {
            for (auto& c : *text) {
                c = velmar::ToUpperCodePoint(c);
            }
        }
    }
    // matches[i][j]: the first i characters of the pattern match the first j of the name.
    std::vector<std::vector<bool>> matches(pattern.size() + 1, std::vector<bool>(name.size() + 1, false));
    matches[0][0] = true;
    for (std::size_t i = 1; i <= pattern.size(); ++i) {
        const char32_t p = pattern[i - 1];
        for (std::size_t j = 0; j <= name.size(); ++j) {
            if (p == U'*') {
                matches[i][j] = matches[i - 1][j] || (j > 0 && matches[i][j - 1]);
            } else if (j > 0) {
                matches[i][j] = matches[i - 1][j - 1] && (p == U'?' || p == name[j - 1]);
            }
        }
    }
    return matches[pattern.size()][name.size()];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    fuzz::InputParts parts(data, size);
    const bool ignoreCase = (parts.Byte() & 1) != 0;
    const std::string pattern(parts.UntilZero());
    const std::string name(parts.Rest());
    if (pattern.size() > 256 || name.size() > 256) {
        return 0; // the reference's table grows with the product of the lengths
    }
    const bool expected = Reference(Utf8ToCodePoints(pattern), Utf8ToCodePoints(name), ignoreCase);
    VELMAR_FUZZ_CHECK(WildcardMatch(pattern, name, ignoreCase) == expected, "the reference matcher's answer");
    return 0;
}
