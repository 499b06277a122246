// The search box's rule written out plainly, as the frame test and the search
// fuzz harness check the engine against it: decode the sample block into a
// zeroed trace the way the display does, then walk the indexes.
#pragma once

#include "core/recording/decoded_trace.h"
#include "core/search/search_limits.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace pelix::testing {

// Whether the trace of one whole sample block passes through the box.
inline bool plainSearchRule(int32_t rectification, const uint8_t* block, const search::SearchLimits& s) {
    recording::DecodedTrace trace; // the search's own buffers start at 0
    if (!recording::composeSamples(rectification, block, trace)) return false;
    const auto& points = trace.AscanPoints;
    const double l = s.SearchLowwidthRange, u = s.SearchUpwidthRange;
    const double h1 = s.SearchLowhightlimit, h2 = s.SearchUphightlimit;
    if (rectification == 0) {
        for (int i = 0; i < 1600; ++i) {
            const int x = i < 800 ? i : i - 800;
            if (l < x && x < u && h1 < points[i] && points[i] < h2) return true;
        }
        return false;
    }
    const double first = std::nearbyint(l), last = std::nearbyint(u);
    for (double i = std::max(first, 0.0); i <= std::min(last, 1600.0); ++i) {
        const int16_t v = points[static_cast<std::size_t>(i)];
        if (h1 < v && v < h2) return true;
    }
    return false;
}

} // namespace pelix::testing
