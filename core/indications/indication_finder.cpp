#include "core/indications/indication_finder.h"

#include <algorithm>

namespace pelix::indications {

namespace {

// Peak and drop extent of the run first..last, whose frames all hold an amplitude.
Indication measure(const AmplitudeSeries& series, int32_t first, int32_t last, double dropDb) {
    Indication found;
    found.first = first;
    found.last = last;
    found.peakFrame = first;
    found.peakAmplitude = series.amplitude(first).value_or(0);
    for (int64_t frame = int64_t{first} + 1; frame <= last; ++frame) {
        const int32_t amplitude = series.amplitude(static_cast<int32_t>(frame)).value_or(0);
        if (amplitude > found.peakAmplitude) {
            found.peakFrame = static_cast<int32_t>(frame);
            found.peakAmplitude = amplitude;
        }
    }
    const int64_t floor = dropFloor(found.peakAmplitude, dropDb);
    found.dropFirst = series.reachAtLeast(found.peakFrame, -1, floor);
    found.dropLast = series.reachAtLeast(found.peakFrame, +1, floor);
    return found;
}

} // namespace

void findIndications(const AmplitudeSeries& series, const IndicationRules& rules,
                     const IndicationVisitor& visit) {
    const int64_t gap = std::max(rules.mergeGap, 0);
    const int64_t minimum = std::max(rules.minimumFrames, 1);
    bool open = false; // a run is being gathered
    int32_t first = 0, last = 0;
    // Hands on the run gathered so far; false when the visitor has had enough.
    const auto close = [&]() {
        const bool wasOpen = open;
        open = false;
        if (!wasOpen || static_cast<int64_t>(last) - first + 1 < minimum) return true;
        return visit(measure(series, first, last, rules.dropDb));
    };
    // int64: the last frame of the series may be the largest frame number there is.
    for (int64_t frame = series.firstFrame(); frame <= series.lastFrame(); ++frame) {
        const auto f = static_cast<int32_t>(frame);
        if (!series.amplitude(f)) {
            if (!close()) return;
            continue;
        }
        if (!rules.count.counts(series, f)) continue;
        if (open && frame - last - 1 <= gap) {
            last = f;
            continue;
        }
        if (!close()) return;
        open = true;
        first = last = f;
    }
    close();
}

std::vector<Indication> findIndications(const AmplitudeSeries& series, const IndicationRules& rules) {
    std::vector<Indication> found;
    findIndications(series, rules, [&found](const Indication& indication) {
        found.push_back(indication);
        return true;
    });
    return found;
}

} // namespace pelix::indications
