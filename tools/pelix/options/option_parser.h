// The one reader of a subcommand's arguments, driven by its option table.
#pragma once

#include "tools/pelix/options/option_table.h"

#include <optional>
#include <string>
#include <vector>

namespace pelix::tool {

using Args = std::vector<std::string>;

struct ParsedArgs {
    std::vector<std::string> positional;
    bool help = false; // --help or -h, known to every command
    bool json = false; // --json, where the command has a JSON form
    // The options given, in the order given, each under its table name.
    std::vector<std::pair<std::string_view, std::string>> options;
    // Why the command line was refused: an unknown option, an option given
    // twice or without its argument. Reading stops there.
    std::string error;
    // The first option whose argument is malformed or out of range, said as
    // "NAME refused-text"; the command reports it after its own checks of the
    // words, in the order it always has.
    std::string argumentError;

    bool has(std::string_view name) const;
    // The argument given with `name`, if the option was given.
    const std::string* text(std::string_view name) const;
    // Every argument given with a repeatable option, in the order given.
    std::vector<std::string> all(std::string_view name) const;
    // A WholeNumber option's value, if given and well formed.
    std::optional<int64_t> number(std::string_view name) const;
};

// Every option may be given once, a repeatable one any number of times; after "--" every word is positional;
// a word that is a negative number is positional too.
ParsedArgs parseArgs(const CommandSpec& command, const Args& args);

// A whole number written in decimal and nothing else; empty otherwise.
std::optional<int64_t> parseWholeNumber(const std::string& text);

// A decimal number as a person types it ("6", "-3.5", "2.0"); nothing else.
std::optional<double> parseDecimal(const std::string& text);

} // namespace pelix::tool
