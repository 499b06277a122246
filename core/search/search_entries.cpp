#include "core/search/search_entries.h"

namespace pelix::search {

std::string entryText(int64_t matchNumber, int32_t frame) {
    return std::to_string(matchNumber) + ".  Frame " + std::to_string(frame);
}

namespace {
std::string matchCount(int64_t matches) {
    return std::to_string(matches) + (matches == 1 ? " match" : " matches");
}
} // namespace

std::string summaryText(int64_t matches, int32_t framesSearched, int32_t frameCount) {
    if (framesSearched >= frameCount) return matchCount(matches);
    return "Stopped at frame " + std::to_string(framesSearched) + " of " + std::to_string(frameCount) + ": " +
           matchCount(matches);
}

std::string progressText(int64_t matches, int32_t framesSearched, int32_t frameCount) {
    return "Frame " + std::to_string(framesSearched) + " of " + std::to_string(frameCount) + ": " +
           matchCount(matches);
}

double markerX(int32_t frame, int32_t frameCount, double stripWidthTwips, double scaleFactor) {
    const double margin = 50.0 * scaleFactor;
    if (frameCount <= 1) return margin;
    return (stripWidthTwips - 2.0 * margin) * (static_cast<double>(frame) - 1.0) /
               (static_cast<double>(frameCount) - 1.0) +
           margin;
}

} // namespace pelix::search
