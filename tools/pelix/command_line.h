// Shared parsing for the subcommands: positional arguments and flags.
#pragma once

#include "tools/pelix/subcommands.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pelix::recording {
struct OpenOutcome;
}

namespace pelix::tool {

struct ParsedArgs {
    std::vector<std::string> positional;
    bool json = false;
    bool help = false;
    std::vector<std::pair<std::string, std::string>> options; // --name value
    std::vector<std::string> switches;                        // on/off options given, e.g. "--csv"
    bool has(const std::string& name) const;
    std::string error;
};

// `valued` lists the options that take a value (e.g. "-o", "--ops"), `switches` the
// on/off options the command knows (e.g. "--window"; "--json" where the command
// has a JSON form, which also sets `json`). --help and -h are known everywhere.
// Every option may be given once; after "--" every word is positional.
ParsedArgs parseArgs(const Args& args, const std::vector<std::string>& valued,
                     const std::vector<std::string>& switches = {});
std::optional<int64_t> parseWholeNumber(const std::string& text);

// A picture size given by --width or --height: a whole number of pixels from
// `least` to 10000; empty when the text is not one.
std::optional<int> parsePixels(const std::string& text, int least);

// The frames --from A and --to B ask for, defaulting to 1 and the frame count.
struct FrameSpan {
    int32_t first = 0, last = 0;
};
// Empty, with `error` saying why, when the span leaves 1..frameCount or runs backwards.
std::optional<FrameSpan> frameSpan(std::optional<int64_t> from, std::optional<int64_t> to, int32_t frameCount,
                                   std::string& error);
// Prints the system's message for a rejected recording, naming the file, and
// gives the exit status.
int reportRejected(const recording::OpenOutcome& outcome);

} // namespace pelix::tool
