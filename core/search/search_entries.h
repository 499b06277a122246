// What the search shows: the list entries and where a match is marked on the
// strip under the position slider.
#pragma once

#include <cstdint>
#include <string>

namespace pelix::search {

// The single entry of a search that found nothing.
inline constexpr const char* kNotFound = "Not found.";

// "1.  Frame 57": the match's number from 1, a full stop, two blanks, the word.
std::string entryText(int64_t matchNumber, int32_t frame);

// "3 matches" ("1 match") after a search over every frame; "Stopped at frame
// 512 of 6000: 3 matches" after one cancelled with frames 1 .. framesSearched
// tested, so a partial list is never taken for the whole recording's.
std::string summaryText(int64_t matches, int32_t framesSearched, int32_t frameCount);

// "Frame 512 of 6000: 3 matches": how far a running search has come.
std::string progressText(int64_t matches, int32_t framesSearched, int32_t frameCount);

// Horizontal place, in twips of the strip, of the marker for `frame`: the
// strip's width less a margin of 50 twips (scaled with the window) at each
// end, spread over frames 1 .. frameCount. A single frame sits at the left end.
double markerX(int32_t frame, int32_t frameCount, double stripWidthTwips, double scaleFactor);

} // namespace pelix::search
