// GetToken against a plain rendering of its steps: the same field and the same
// delimiter written back, and OverflowError exactly for a text over 32767
// characters.

#include "common/CodePage.h"
#include "common/CommonProcedures.h"
#include "common/Errors.h"
#include "fuzz/FuzzSupport.h"

namespace {

// 1-based position of `what` in `text` at or after `from`, 0 when absent; an
// empty `what` is found at `from` of a non-empty text.
std::size_t Find(const std::u32string& text, const std::u32string& what, std::size_t from) {
    if (text.empty() || from > text.size()) {
        return 0;
    }
    const std::size_t at = text.find(what, from - 1);
    return at == std::u32string::npos ? 0 : at + 1;
}

std::u32string Reference(const std::u32string& text, int index, std::u32string& delimiter) {
    if (delimiter.empty()) {
        if (text.find(U'\t') != std::u32string::npos) {
            delimiter = U"\t";
        } else if (text.find(U';') != std::u32string::npos) {
            delimiter = U";";
        }
    }
    std::size_t start = 1;
    std::size_t pos = Find(text, delimiter, 1);
    int n = index;
    while (n > 0 && pos > 0) {
        start = pos + delimiter.size();
        pos = Find(text, delimiter, start);
        --n;
    }
    if (n != 0) {
        return {};
    }
    if (pos == 0) {
        pos = text.size() + 1;
    }
    return text.substr(start - 1, pos - start);
}

bool IsUtf8(std::string_view text) {
    return velmar::CodePointsToUtf8(velmar::Utf8ToCodePoints(text)) == text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    fuzz::InputParts parts(data, size);
    const auto index = static_cast<std::int16_t>(parts.Byte() | (parts.Byte() << 8));
    std::string delimiter(parts.UntilZero());
    const std::string text(parts.Rest());
    const std::string delimiterGiven = delimiter;
    std::string result;
    try {
        result = GetToken(text, index, delimiter);
    } catch (const OverflowError&) {
        VELMAR_FUZZ_CHECK(Utf8Length(text) > 32767, "overflow only for a text over 32767 characters");
        return 0;
    }
    VELMAR_FUZZ_CHECK(Utf8Length(text) <= 32767, "a text over 32767 characters overflows");
    if (!IsUtf8(text) || !IsUtf8(delimiterGiven)) {
        return 0; // positions are characters, which malformed bytes do not make
    }
    std::u32string referenceDelimiter = Utf8ToCodePoints(delimiterGiven);
    const std::u32string expected = Reference(Utf8ToCodePoints(text), index, referenceDelimiter);
    VELMAR_FUZZ_CHECK(result == CodePointsToUtf8(expected), "the field of the reference");
    VELMAR_FUZZ_CHECK(delimiter == CodePointsToUtf8(referenceDelimiter), "the delimiter written back");
    return 0;
}
