#include "common/ConsoleText.h"

#include "common/CodePage.h"

namespace velmar {

std::string EscapeConsoleText(std::string_view text, bool keepBackslashes) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    const auto appendByte = [&](std::string& out, char c) {
        const auto byte = static_cast<unsigned char>(c);
        out += "\\x";
        out += kHex[byte >> 4];
        out += kHex[byte & 0x0F];
    };
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (c == '\\') {
            out += keepBackslashes ? "\\" : "\\\\";
            ++i;
        } else if (c == '\r') {
            out += "\\r";
            ++i;
        } else if (c == '\n') {
            out += "\\n";
            ++i;
        } else {
            const std::size_t start = i;
            const auto point = DecodeUtf8At(text, i);
            // C0 controls, DEL and the C1 controls (U+0080 to U+009F, which
            // some terminals obey) are written byte by byte, as are bytes
            // that belong to no UTF-8 sequence.
            if (!point || *point < 0x20 || (*point >= 0x7F && *point <= 0x9F)) {
                for (std::size_t k = start; k < i; ++k) {
                    appendByte(out, text[k]);
                }
            } else {
                out.append(text.substr(start, i - start));
            }
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    constexpr std::string_view kHex = "0123456789abcdef";
    std::string out = "\"";
    out.reserve(text.size() + 2);
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const auto point = DecodeUtf8At(text, i);
        if (!point) {
            out += "\\ufffd";
            continue;
        }
        switch (*point) {
        case U'"':
            out += "\\\"";
            break;
        case U'\\':
            out += "\\\\";
            break;
        case U'\b':
            out += "\\b";
            break;
        case U'\f':
            out += "\\f";
            break;
        case U'\n':
            out += "\\n";
            break;
        case U'\r':
            out += "\\r";
            break;
        case U'\t':
            out += "\\t";
            break;
        default:
            if (*point < 0x20 || (*point >= 0x7F && *point <= 0x9F)) {
                out += "\\u00";
                out += kHex[*point >> 4U];
                out += kHex[*point & 0x0FU];
            } else {
                out.append(text.substr(start, i - start));
            }
        }
    }
    out += '"';
    return out;
}

} // namespace velmar
