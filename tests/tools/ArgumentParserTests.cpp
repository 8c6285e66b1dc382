// The one argument parser of velmar-profiles, and the form of its usage errors
// in every command.

#include "common/Version.h"
#include "tests/tools/ToolRun.h"
#include "tools/velmar-profiles/ArgumentParser.h"

#include <array>
#include <gtest/gtest.h>

namespace velmar::tool {
namespace {

const CommandSyntax kSyntax{
    .Name = "try",
    .Help = "help text\n",
    .Options = {{.Name = "--out", .Value = "FILE", .Required = true},
                {.Name = "--flag"},
                {.Name = "--many", .Value = "V", .Repeatable = true}},
    .Operands = "input file",
    .MinOperands = 1,
    .MaxOperands = 1,
};

// The usage error of a command line, or "" when it parses.
std::string ErrorOf(const Arguments& args) {
    try {
        ParseArguments(kSyntax, args);
        return "";
    } catch (const UsageError& error) {
        return error.Message();
    }
}

TEST(ParseArguments, OptionsAnywhereInBothFormsAndOperandsAfterTheirEnd) {
    const ParsedArguments a =
        ParseArguments(kSyntax, {"--many", "1", "--out=x.png", "--flag", "--many=2", "--", "--in.dat"});
    ASSERT_FALSE(a.Help);
    EXPECT_EQ(a.Value("--out"), "x.png");
    EXPECT_TRUE(a.Has("--flag"));
    EXPECT_EQ(a.Values("--many"), (std::vector<std::string>{"1", "2"}));
    EXPECT_FALSE(a.Value("--missing"));
    // "--" ends the options: what follows is an operand.
    EXPECT_EQ(a.Operands(), (std::vector<std::string>{"--in.dat"}));
    EXPECT_EQ(ErrorOf({"--out", "x", "in.dat", "--", "--flag"}), "more than one input file given");
    EXPECT_EQ(ParseArguments(kSyntax, {"-", "--out", "x"}).Operands(), (std::vector<std::string>{"-"}));
}

TEST(ParseArguments, EveryMistakeIsAUsageErrorThatSaysWhat) {
    struct Case {
        Arguments args;
        const char* error;
    };
    const auto cases = std::to_array<Case>({
        {{"in", "--out", "x", "--frob"}, "unknown option \"--frob\""},
        {{"in", "--out", "x", "-v"}, "unknown option \"-v\""},
        {{"in", "--out"}, "--out needs FILE"},
        {{"in", "--out", "x", "--flag=yes"}, "--flag takes no value"},
        {{"in", "--out", "x", "--out", "y"}, "--out is given more than once"},
        {{"in"}, "--out FILE is required"},
        {{"--out", "x"}, "no input file given"},
        {{"a", "b", "--out", "x"}, "more than one input file given"},
        {{"in", "--out", "x"}, ""},
    });
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf(c.args), c.error);
    }
    // Help wins over the mistakes on the same line.
    EXPECT_TRUE(ParseArguments(kSyntax, {"--frob", "-h"}).Help);
}

TEST(RunTool, UsageErrorsAreOneLineWithStatus2InEveryCommand) {
    struct Case {
        Arguments args;
        const char* line;
    };
    const auto cases = std::to_array<Case>({
        {{}, "velmar-profiles: no command given (see velmar-profiles --help)\n"},
        {{"frobnicate"}, "velmar-profiles: unknown command \"frobnicate\" (see velmar-profiles --help)\n"},
        {{"--frob"}, "velmar-profiles: unknown option \"--frob\" (see velmar-profiles --help)\n"},
        {{"list", "--frob"},
         "velmar-profiles: list: unknown option \"--frob\" (see velmar-profiles list --help)\n"},
        {{"show", "--frob", "f"},
         "velmar-profiles: show: unknown option \"--frob\" (see velmar-profiles show --help)\n"},
        {{"calendar"},
         "velmar-profiles: calendar: no calendar file given (see velmar-profiles calendar --help)\n"},
        {{"calendar", "c", "--year"},
         "velmar-profiles: calendar: --year needs YYYY (see velmar-profiles calendar --help)\n"},
        {{"render-schedule", "p.dat"},
         "velmar-profiles: render-schedule: --out FILE.png is required (see velmar-profiles render-schedule "
         "--help)\n"},
        {{"render-calendar", "c", "--out", "x.png"},
         "velmar-profiles: render-calendar: --month YYYY-MM is required (see velmar-profiles render-calendar "
         "--help)\n"},
    });
    for (const auto& c : cases) {
        Arguments args = c.args;
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(RunTool(args, out, err), 2) << c.line;
        EXPECT_EQ(err.str(), c.line);
        EXPECT_EQ(out.str(), "");
    }
}

TEST(RunTool, HelpAndVersionPrintAndSucceed) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(RunTool({"--version"}, out, err), 0);
    EXPECT_EQ(out.str(), std::string("velmar-profiles ") + kVersion + "\n");
    for (const char* command : {"list", "show", "render-schedule", "render-calendar", "calendar"}) {
        const test::ToolRun run = test::RunTool(command, {"--help"});
        EXPECT_EQ(run.Status, 0) << command;
        EXPECT_NE(run.Out.find(std::string("Usage: velmar-profiles ") + command), std::string::npos)
            << command;
        EXPECT_EQ(run.Err, "") << command;
    }
    std::ostringstream usage;
    EXPECT_EQ(RunTool({"--help"}, usage, err), 0);
    EXPECT_NE(usage.str().find("render-calendar CALENDAR_FILE --month YYYY-MM"), std::string::npos);
}

} // namespace
} // namespace velmar::tool
