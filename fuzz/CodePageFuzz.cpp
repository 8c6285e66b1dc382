// The code-page conversion: every byte string survives code page 1252 to UTF-8
// and back; any text converts to code page 1252 with one byte per character;
// the UTF-8 helpers agree with each other.

#include "common/CodePage.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Cp1252ToUtf8(bytes);
    VELMAR_FUZZ_CHECK(Utf8ToCp1252(utf8) == bytes, "code page 1252 bytes survive a round trip");
    VELMAR_FUZZ_CHECK(Utf8Length(utf8) == size, "one character per byte");

    const std::u32string points = Utf8ToCodePoints(bytes);
    VELMAR_FUZZ_CHECK(points.size() == Utf8Length(bytes), "length and code points agree");
    VELMAR_FUZZ_CHECK(Utf8ToCp1252(bytes).size() == points.size(), "one byte per character");
    const std::string left = Utf8Left(bytes, points.size() / 2);
    VELMAR_FUZZ_CHECK(Utf8Length(left) == points.size() / 2, "the left part has the characters asked for");
    VELMAR_FUZZ_CHECK(bytes.substr(0, left.size()) == left, "the left part is a prefix");
    const std::string upper = Utf8ToUpper(bytes);
    VELMAR_FUZZ_CHECK(Utf8ToUpper(upper) == upper, "upper case is stable");
    return 0;
}
