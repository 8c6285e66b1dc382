// The metrics of a load whose names and folder are any bytes: every line is a
// HELP, TYPE or sample line of the text format, and each profile's label
// value, read back as Prometheus unescapes it, is the name with every byte
// that belongs to no UTF-8 sequence replaced by U+FFFD.

#include "common/CodePage.h"
#include "fuzz/FuzzSupport.h"
#include "report/Metrics.h"

#include <optional>
#include <string>

namespace {

// The name with malformed bytes replaced, as the label value must hold it.
std::string Sanitized(std::string_view text) {
    std::string result;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        if (velmar::DecodeUtf8At(text, i)) {
            result.append(text.substr(start, i - start));
        } else {
            result.append("\xEF\xBF\xBD");
        }
    }
    return result;
}

// Reads a quoted label value at `at` (just behind the opening quotation
// mark) as the text format defines it; nothing when it is malformed.
std::optional<std::string> Unescaped(std::string_view line, std::size_t& at) {
    std::string value;
    while (at < line.size()) {
        const char c = line[at++];
        if (c == '"') {
            return value;
        }
        if (c != '\\') {
            value += c;
            continue;
        }
        if (at == line.size()) {
            return std::nullopt;
        }
        const char escaped = line[at++];
        if (escaped == 'n') {
            value += '\n';
        } else if (escaped == '\\' || escaped == '"') {
            value += escaped;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmar;
    fuzz::InputParts parts(data, size);
    ReloadSnapshot snapshot;
    snapshot.Folder = std::string(parts.UntilZero());
    const std::string name(parts.Rest());
    snapshot.Profiles = {{"Profile_0001.dat", name, true}};

    const std::string text = FormatMetrics(snapshot);
    std::size_t start = 0;
    bool sawProfile = false;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        VELMAR_FUZZ_CHECK(end != std::string::npos, "every line ends with a line feed");
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.starts_with("# HELP ") || line.starts_with("# TYPE ")) {
            continue;
        }
        const std::string_view prefix = "velmar_profile_active{folder=\"";
        if (!line.starts_with(prefix)) {
            continue;
        }
        std::size_t at = prefix.size();
        const auto folder = Unescaped(line, at);
        VELMAR_FUZZ_CHECK(folder && *folder == Sanitized(snapshot.Folder), "the folder reads back");
        const std::string_view profileLabel = ",file=\"Profile_0001.dat\",profile=\"";
        VELMAR_FUZZ_CHECK(line.substr(at).starts_with(profileLabel), "the labels in order");
        at += profileLabel.size();
        const auto profile = Unescaped(line, at);
        VELMAR_FUZZ_CHECK(profile && *profile == Sanitized(name), "the name reads back");
        VELMAR_FUZZ_CHECK(line.substr(at) == "} 1", "the value follows the labels");
        sawProfile = true;
    }
    VELMAR_FUZZ_CHECK(sawProfile, "the profile's sample");
    return 0;
}
