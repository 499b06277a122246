// What the subcommands share once their arguments are read: the frame span
// --from/--to asks for, and the message for a rejected recording.
#pragma once

#include "tools/pelix/options/option_parser.h"
#include "tools/pelix/subcommands.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pelix::recording {
struct OpenOutcome;
}

namespace pelix::tool {

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
