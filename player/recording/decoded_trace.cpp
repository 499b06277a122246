#include "player/recording/decoded_trace.h"

namespace pelix::recording {

namespace {
constexpr int16_t kRectified = 0, kRf = 1, kHollow = 0;

constexpr std::array<int16_t, 256> makePercentTable() {
    std::array<int16_t, 256> t{};
    for (int x = 0; x < 256; ++x) t[x] = screenPercent(static_cast<uint8_t>(x));
    return t;
}
constexpr auto kPercent = makePercentTable();
} // namespace

bool composeSamples(int32_t rectification, const uint8_t* block, DecodedTrace& trace) {
    auto& points = trace.AscanPoints;
    auto& raw = trace.AscanRaw;
    switch (rectification) {
    case 0:
    case 3:
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            const uint8_t b0 = block[2 * p], b1 = block[2 * p + 1];
            points[p] = kPercent[b0];
            points[kSamplePairs + p] = kPercent[b1];
            raw[p] = rawAmplitude(b0);
            raw[kSamplePairs + p] = rawAmplitude(b1);
        }
        if (rectification == 3) {
            // Full wave: the larger half-wave by its scaled value; on a tie the negative one stays.
            for (std::size_t p = 0; p < kSamplePairs; ++p) {
                if (points[p] < points[kSamplePairs + p]) {
                    points[p] = points[kSamplePairs + p];
                    raw[p] = raw[kSamplePairs + p];
                }
            }
        }
        break;
    case 1:
    case 2: {
        const std::size_t half = rectification == 1 ? 0 : 1;
        for (std::size_t p = 0; p < kSamplePairs; ++p) {
            const uint8_t b = block[2 * p + half];
            points[p] = kPercent[b];
            raw[p] = rawAmplitude(b);
        }
        break;
    }
    default:
        return false;
    }
    trace.mode.iAscanDrawMode = kHollow;
    if (rectification == 0) {
        trace.mode.iAscanRectMode = kRf;
        trace.mode.iNumPoints = 1600;
    } else {
        trace.mode.iAscanRectMode = kRectified;
        trace.mode.iNumPoints = 800;
    }
    trace.modeKnown = true;
    return true;
}

} // namespace pelix::recording
