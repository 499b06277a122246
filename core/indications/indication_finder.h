// Finds the indications of a series of frame amplitudes:
//  - a run is a maximal stretch of frames that count (see CountRule);
//  - runs separated by at most `mergeGap` frames that do not count become one, but never across a
//    frame without amplitude: a gate switched off (or a frame cut short) ends the indication;
//  - a run, once merged, shorter than `minimumFrames` (counted first to last frame, the merged gaps
//    included) is dropped, so a gap of noise cannot split an indication into pieces that are each
//    too short to report;
//  - the peak is the first frame of the run with the run's largest amplitude;
//  - the drop extent runs from the peak outwards, frame by frame, while the amplitude stays within
//    `dropDb` of the peak (see dropFloor), past the run's ends if the echo does, but never across a
//    frame without amplitude nor past the series.
// Indications come in frame order. Extents of neighbouring indications may overlap.
#pragma once

#include "core/indications/amplitude_series.h"
#include "core/indications/count_rule.h"
#include "core/indications/indication.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace pelix::indications {

struct IndicationRules {
    CountRule count = CountRule::atLeastPercent(0);
    int32_t mergeGap = 0;      // below 0 is read as 0
    int32_t minimumFrames = 1; // below 1 is read as 1
    double dropDb = 6.0;
};

// Each indication as it is found; returning false stops the search. Nothing but the
// indication at hand is held, so a writer can put out each one at once.
using IndicationVisitor = std::function<bool(const Indication&)>;
void findIndications(const AmplitudeSeries& series, const IndicationRules& rules,
                     const IndicationVisitor& visit);

std::vector<Indication> findIndications(const AmplitudeSeries& series, const IndicationRules& rules);

} // namespace pelix::indications
