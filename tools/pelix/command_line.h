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
    std::string error;
};

// `valued` lists the options that take a value (e.g. "-o", "--ops").
ParsedArgs parseArgs(const Args& args, const std::vector<std::string>& valued);
std::optional<int64_t> parseWholeNumber(const std::string& text);
// Prints the system's message for a rejected recording and gives the exit status.
int reportRejected(const recording::OpenOutcome& outcome);

} // namespace pelix::tool
