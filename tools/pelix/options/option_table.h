// What a subcommand of `pelix` accepts, declared once: every option's name, its
// argument and the argument's range, and its lines in the command's help. The
// parser (option_parser.h) reads these tables, the help (help_text.h) is
// written from them, and the command list of `pelix --help` too, so that a
// command or an option is named in one place only. No Qt: `pelix` and
// `pelix-draw` share them.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

namespace pelix::tool {

enum class Argument {
    None,        // an on/off option
    Text,        // any word: a file name, or a list the command reads itself
    WholeNumber, // a whole number within [least, most]
};

// How the option appears among the help's option lines.
enum class Listing {
    Line,     // a line of its own: its label, then its help text
    WithNext, // its label goes in front of the next option's, on that option's line
    InText,   // the command's description speaks of it; no line of its own
};

struct OptionSpec {
    std::string_view name = {};  // "--width", "-o"
    std::string_view alias = {}; // another spelling of the same option ("-h"), or empty
    Argument argument = Argument::None;
    std::string_view label = {}; // the option with its argument as the help shows it: "--width W"
    std::string_view help = {};  // its help text; '\n' starts a line indented to the command's column
    Listing listing = Listing::Line;
    int64_t least = std::numeric_limits<int64_t>::min();
    int64_t most = std::numeric_limits<int64_t>::max();
    // What the usage error says after the option's name when its argument is refused.
    std::string_view refused = {};
    // May be given more than once (--set KEY=VALUE --set ...); each is kept, in order.
    bool repeatable = false;
};

struct CommandSpec {
    std::string_view name = {};
    // The command's line in `pelix --help`: its arguments and what it does, the
    // summary starting at `listColumn` (at least two spaces after the arguments).
    std::string_view listArguments = {};
    std::string_view summary = {};
    int listColumn = 0;
    // The help: "usage: pelix NAME " and `usage`, the description, the option
    // lines with their text starting at `helpColumn`, and the closing text.
    std::string_view usage = {};
    std::string_view description = {};
    int helpColumn = 0;
    std::span<const OptionSpec> options = {};
    std::string_view closing = {};
};

// A picture's width or height, wherever a command takes one: the overview strip
// needs a few rows between its bands of marks, and the A-scan control never
// shrinks below its own minimum, so nothing smaller than 16 pixels is drawn.
inline constexpr int64_t kLeastPixels = 16;
inline constexpr int64_t kMostPixels = 10000;

} // namespace pelix::tool
