#include "tools/pelix/command_line.h"

#include "core/recording/open_recording.h"

#include <iostream>

namespace pelix::tool {

std::optional<FrameSpan> frameSpan(std::optional<int64_t> from, std::optional<int64_t> to, int32_t frameCount,
                                   std::string& error) {
    const int64_t first = from.value_or(1);
    const int64_t last = to.value_or(frameCount);
    if (first < 1 || last > frameCount || first > last) {
        error = "frames " + std::to_string(first) + ".." + std::to_string(last) + " are not within 1.." +
                std::to_string(frameCount) + " or run backwards";
        return std::nullopt;
    }
    return FrameSpan{static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

int reportRejected(const recording::OpenOutcome& outcome) {
    // A file that could not be opened is named by its message already.
    if (outcome.status != recording::OpenStatus::CannotOpen) std::cerr << outcome.path << ": ";
    std::cerr << outcome.message << "\n";
    return kExitRejected;
}

} // namespace pelix::tool
