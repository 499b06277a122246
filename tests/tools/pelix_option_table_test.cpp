// The option tables of `pelix` and the one parser that reads them: the rules a
// command line is held to, and every option a table names is in its help and
// is taken.
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/options/option_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace pelix::tool;

struct ParseCase {
    const char* what;
    const CommandSpec* command;
    Args args;
    std::string error;         // empty: accepted
    std::string argumentError; // the refused argument, reported after the words are checked
    std::vector<std::string> positional;
    bool help = false;
};

TEST(PelixOptionParserTest, EveryCommandLineIsHeldToTheSameRules) {
    const ParseCase cases[] = {
        {"a file and a switch", &kInfoCommand, {"A.BIN", "--json"}, "", "", {"A.BIN"}},
        {"an unknown option", &kInfoCommand, {"A.BIN", "--csv"}, "unknown option --csv", "", {"A.BIN"}},
        {"an option of another command", &kExportCommand, {"--json"}, "unknown option --json", "", {}},
        {"a switch twice",
         &kInfoCommand,
         {"--json", "A.BIN", "--json"},
         "option --json given twice",
         "",
         {"A.BIN"}},
        {"a valued option twice", &kRenderCommand, {"-o", "a", "-o", "b"}, "option -o given twice", "", {}},
        {"a value missing at the end",
         &kReadingsCommand,
         {"A.BIN", "--from"},
         "missing value after --from",
         "",
         {"A.BIN"}},
        {"a negative number is a word", &kFrameCommand, {"A.BIN", "-3"}, "", "", {"A.BIN", "-3"}},
        {"after -- everything is a word", &kInfoCommand, {"--", "--json", "-x"}, "", "", {"--json", "-x"}},
        {"-- given twice ends options once", &kInfoCommand, {"--", "--"}, "", "", {"--"}},
        {"a lone dash is a word", &kInfoCommand, {"-"}, "", "", {"-"}},
        {"help anywhere", &kSearchCommand, {"A.BIN", "-h"}, "", "", {"A.BIN"}, true},
        {"help after an unknown option is not reached",
         &kSearchCommand,
         {"--x", "--help"},
         "unknown option --x",
         "",
         {}},
        {"an option's value may start with a dash", &kRenderCommand, {"-o", "--json"}, "", "", {}},
        {"a value that is no number",
         &kReadingsCommand,
         {"--from", "x"},
         "",
         "--from must be a frame number",
         {}},
        {"a number with trailing text", &kExportCommand, {"--to", "5x"}, "", "--to needs a whole number", {}},
        {"the least width", &kRenderCommand, {"--width", "16"}, "", "", {}},
        {"below the least width",
         &kRenderCommand,
         {"--width", "15"},
         "",
         "--width must be 16..10000 pixels",
         {}},
        {"above the most height",
         &kOverviewCommand,
         {"--height", "10001"},
         "",
         "--height must be 16..10000 pixels",
         {}},
        {"the first refused argument is named",
         &kOverviewCommand,
         {"--width", "0", "--height", "0"},
         "",
         "--width must be 16..10000 pixels",
         {}},
        {"a structural error after a refused argument",
         &kOverviewCommand,
         {"--width", "0", "--bogus"},
         "unknown option --bogus",
         "--width must be 16..10000 pixels",
         {}},
    };
    for (const ParseCase& c : cases) {
        const ParsedArgs parsed = parseArgs(*c.command, c.args);
        EXPECT_EQ(parsed.error, c.error) << c.what;
        EXPECT_EQ(parsed.argumentError, c.argumentError) << c.what;
        EXPECT_EQ(parsed.positional, c.positional) << c.what;
        EXPECT_EQ(parsed.help, c.help) << c.what;
    }
}

TEST(PelixOptionParserTest, ARepeatableOptionKeepsEveryArgumentInOrder) {
    const ParsedArgs parsed =
        parseArgs(kInspectionCommand, {"A.BIN", "--set", "Probe=x", "--set", "Date=", "--json"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.all("--set"), (std::vector<std::string>{"Probe=x", "Date="}));
    EXPECT_EQ(*parsed.text("--set"), "Probe=x");
    // Only that option: the others are still refused a second time.
    EXPECT_EQ(parseArgs(kInspectionCommand, {"--json", "--json"}).error, "option --json given twice");
}

TEST(PelixOptionParserTest, AnAliasIsTheSameOption) {
    constexpr OptionSpec kOptions[] = {
        {.name = "--output", .alias = "-o", .argument = Argument::Text},
        {.name = "--count",
         .alias = "-n",
         .argument = Argument::WholeNumber,
         .least = 1,
         .most = 9,
         .refused = "must be 1..9"},
    };
    const CommandSpec command{.name = "test", .options = kOptions};
    const ParsedArgs shortForm = parseArgs(command, {"-o", "x", "-n", "3"});
    EXPECT_EQ(shortForm.error, "");
    EXPECT_EQ(shortForm.text("--output") ? *shortForm.text("--output") : "", "x");
    EXPECT_EQ(shortForm.number("--count"), 3);
    EXPECT_EQ(parseArgs(command, {"--output", "x", "-o", "y"}).error, "option -o given twice");
    EXPECT_EQ(parseArgs(command, {"-n", "10"}).argumentError, "--count must be 1..9");
}

TEST(PelixOptionParserTest, GivenOptionsAreFoundByTheirTableNames) {
    const ParsedArgs parsed = parseArgs(kReadingsCommand, {"A.BIN", "--to", "9", "--csv", "--from", "-2"});
    ASSERT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.number("--from"), -2);
    EXPECT_EQ(parsed.number("--to"), 9);
    EXPECT_TRUE(parsed.has("--csv"));
    EXPECT_FALSE(parsed.has("--json"));
    EXPECT_FALSE(parsed.json);
    EXPECT_EQ(parsed.text("--from") ? *parsed.text("--from") : "", "-2");
    EXPECT_TRUE(parseArgs(kSearchCommand, {"--json"}).json);
}

// A sample argument the option takes.
std::string acceptedArgument(const OptionSpec& option) {
    if (option.argument != Argument::WholeNumber) return "1,2";
    return std::to_string(std::max<int64_t>(option.least, 1));
}

TEST(PelixOptionTableTest, EveryOptionIsInItsCommandsHelpAndIsTaken) {
    for (const CommandSpec* command : commandTable()) {
        const std::string help = helpText(*command);
        EXPECT_EQ(help.rfind("usage: pelix " + std::string(command->name) + " ", 0), 0U) << command->name;
        for (const OptionSpec& option : command->options) {
            const std::string name(option.name);
            EXPECT_NE(help.find(name), std::string::npos) << command->name << " " << name;
            Args args = {"A.BIN", name};
            if (option.argument != Argument::None) args.push_back(acceptedArgument(option));
            const ParsedArgs parsed = parseArgs(*command, args);
            EXPECT_EQ(parsed.error, "") << command->name << " " << name;
            EXPECT_EQ(parsed.argumentError, "") << command->name << " " << name;
            EXPECT_TRUE(parsed.has(name)) << command->name << " " << name;
            EXPECT_EQ(parsed.positional, Args{"A.BIN"}) << command->name << " " << name;
            if (option.argument == Argument::WholeNumber) {
                EXPECT_FALSE(option.refused.empty()) << name;
            }
            // A bounded number names its bounds when it is refused.
            if (option.argument == Argument::WholeNumber && option.most != INT64_MAX) {
                EXPECT_NE(
                    option.refused.find(std::to_string(option.least) + ".." + std::to_string(option.most)),
                    std::string_view::npos)
                    << command->name << " " << name;
            }
        }
        EXPECT_EQ(findCommand(command->name), command);
    }
    EXPECT_EQ(findCommand("bogus"), nullptr);
}

TEST(PelixOptionTableTest, EveryCommandIsListedOnceInTheProgramsHelp) {
    const std::string help = programHelpText(commandTable());
    for (const CommandSpec* command : commandTable()) {
        const std::string line =
            "\n  " + std::string(command->name) + " " + std::string(command->listArguments);
        const auto at = help.find(line);
        ASSERT_NE(at, std::string::npos) << command->name;
        EXPECT_EQ(help.find(line, at + 1), std::string::npos) << command->name;
        EXPECT_NE(help.find(std::string(command->summary)), std::string::npos) << command->name;
    }
}

} // namespace
