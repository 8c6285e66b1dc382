#include "profiles/ProfileFile.h"
#include "tools/velmar-profiles/Commands.h"
#include "tools/velmar-profiles/ScheduleText.h"

#include <array>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>

namespace velmar::tool {
namespace {

constexpr std::string_view kHelp = R"(Usage: velmar-profiles show FILE

Prints one profile file (Profile_NNNN.dat) as the program reads it:
  - the file's size, its format version, the profile's name and active flag;
  - every field of the profile record in file order, texts in double quotes
    (control characters escaped as \r, \n, \t, \xNN or \u00NN) and raw blocks
    as hexadecimal bytes;
  - where the schedule record starts, how long it is and how many bytes follow it;
  - the time schedule: its use-calendar value and, for each day type 0 to 22,
    the in-use and grouped values, the grid row and the periods ("07:00-16:00").

A version-4 file that ends early is shown as the program loads it, with the
missing fields as 0 and empty, and a note saying so.

Exit status 0 when the file was shown. A file that is missing or unreadable,
shorter than 2 bytes, or of a format version other than 4 gives a one-line
error on standard error and exit status 1; a usage error gives status 2.
)";

// A text in double quotes. Texts come from the code-page conversion and are
// valid UTF-8; control characters, including the C1 controls that the
// undefined code-page bytes turn into, are escaped so that a name can neither
// break the listing into lines nor send terminal commands.
std::string Quoted(std::string_view text) {
    std::string result = "\"";
    std::array<char, 8> buffer{};
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            result += '\\';
            result += static_cast<char>(c);
        } else if (c == '\r') {
            result += "\\r";
        } else if (c == '\n') {
            result += "\\n";
        } else if (c == '\t') {
            result += "\\t";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(buffer.data(), buffer.size(), "\\x%02X", c);
            result += buffer.data();
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            std::snprintf(buffer.data(), buffer.size(), "\\u%04X", static_cast<unsigned char>(text[i + 1]));
            result += buffer.data();
            ++i;
        } else {
            result += static_cast<char>(c);
        }
    }
    return result + "\"";
}

// Raw bytes as hexadecimal pairs, 32 to a line; continuation lines are
// indented by `indent` spaces.
template <std::size_t N> std::string Hex(const std::array<std::uint8_t, N>& bytes, std::size_t indent) {
    std::string result;
    std::array<char, 4> buffer{};
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            result += i % 32 == 0 ? "\n" + std::string(indent, ' ') : " ";
        }
        std::snprintf(buffer.data(), buffer.size(), "%02X", bytes[i]);
        result += buffer.data();
    }
    return result;
}

void PrintRecord(std::ostream& out, const ProfileRecord& r) {
    constexpr std::size_t kIndent = 16; // width of "  TextList(0): " plus one
    auto label = [&out](std::string_view name) {
        out << "  " << name << ':' << std::string(kIndent - 3 - name.size(), ' ');
    };
    label("Int0");
    out << r.Int0 << '\n';
    label("Active");
    out << r.Active << '\n';
    label("Name");
    out << Quoted(r.Name) << '\n';
    label("Bytes1");
    out << Hex(r.Bytes1, kIndent) << '\n';
    label("Text1");
    out << Quoted(r.Text1) << '\n';
    label("Text2");
    out << Quoted(r.Text2) << '\n';
    for (std::size_t i = 0; i < r.TextList.size(); ++i) {
        label("TextList(" + std::to_string(i) + ")");
        out << Quoted(r.TextList[i]) << '\n';
    }
    label("Bytes2");
    out << Hex(r.Bytes2, kIndent) << '\n';
    label("Text3");
    out << Quoted(r.Text3) << '\n';
    label("Bytes3");
    out << Hex(r.Bytes3, kIndent) << '\n';
    label("Text4");
    out << Quoted(r.Text4) << '\n';
    label("Text5");
    out << Quoted(r.Text5) << '\n';
    label("Bytes4");
    out << Hex(r.Bytes4, kIndent) << '\n';
}

} // namespace

const CommandSyntax& ShowSyntax() {
    static const CommandSyntax syntax{
        .Name = "show",
        .Synopsis = "show FILE",
        .Summary = "Print one profile file: format version, name, active flag, every field\n"
                   "of the record and its time schedule per day type.",
        .Help = kHelp,
        .Options = {},
        .Operands = "profile file",
        .MinOperands = 1,
        .MaxOperands = 1,
    };
    return syntax;
}

int CommandShow(const ParsedArguments& args, std::ostream& out, std::ostream& /*err*/) {
    const std::string& path = args.Operands().front();
    // Read exactly as the program's loader does.
    const ProfileFileContents file = ReadProfileFile(path);
    const ProfileRecord& record = file.Record;

    out << "file: " << path << '\n';
    out << "size: " << file.Size << " bytes\n";
    out << "format version: " << file.FormatVersion << '\n';
    out << "name: " << Quoted(record.Name) << '\n';
    out << "active: " << record.Active << (record.Active != 0 ? " (active)" : " (inactive)") << '\n';
    if (file.RecordComplete) {
        out << "profile record: " << file.ScheduleStart - 2 << " bytes at offset 2\n";
    } else {
        out << "profile record: incomplete, the file ends inside it; fields not in the file are 0 and "
               "empty\n";
    }
    PrintRecord(out, record);
    if (!file.RecordComplete) {
        out << "schedule record: missing, the file ends before it\n";
    } else if (!file.ScheduleComplete) {
        out << "schedule record: incomplete, the file ends inside it (from offset " << file.ScheduleStart
            << "); values not in the file are 0 and periods are missing\n";
    } else {
        out << "schedule record: " << file.ScheduleEnd - file.ScheduleStart << " bytes at offset "
            << file.ScheduleStart << '\n';
        out << "bytes behind the schedule: " << file.Size - file.ScheduleEnd << " (not read)\n";
    }
    PrintSchedule(out, *file.Schedule);
    return 0;
}

} // namespace velmar::tool
