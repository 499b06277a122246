// The search box as the A-scan control reports it: a position window on the
// 0..800 sample scale and an amplitude window in percent of screen height
// (in RF, of half the height, measured from the centre line).
#pragma once

namespace pelix::search {

struct SearchLimits {
    double SearchLowwidthRange = 0.0; // left edge
    double SearchUpwidthRange = 0.0;  // right edge
    double SearchLowhightlimit = 0.0; // lower amplitude limit
    double SearchUphightlimit = 0.0;  // upper amplitude limit
};

} // namespace pelix::search
