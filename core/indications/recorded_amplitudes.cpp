#include "core/indications/recorded_amplitudes.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pelix::indications {

int32_t defaultLevel(const recording::FrameHeader& frame, Gate gate) {
    const int64_t threshold = gate == Gate::A ? frame.GateAThreshold : frame.GateBThreshold;
    return static_cast<int32_t>(std::min<int64_t>(std::llabs(threshold), INT32_MAX));
}

RecordedAmplitudes scanRecordedAmplitudes(const recording::RecordingFile& file,
                                          const recording::FrameRecordLayout& layout, Gate gate,
                                          int32_t first, int32_t last, const DbToReferenceOf& dbToReference,
                                          const std::atomic<bool>* cancel) {
    first = std::max(first, 1);
    last = std::min(last, layout.frameCount);
    RecordedAmplitudes recorded{AmplitudeSeries(first), {}};
    if (first > last) return recorded;
    recorded.series.reserve(static_cast<int64_t>(last) - first + 1);
    recorded.scan =
        recording::scanFrameHeaders(file, layout, first, last, [&](int64_t frame, const uint8_t* h) {
            // Checked once a block's worth of frames, so a cancelled scan ends at once.
            if (cancel && (frame & 127) == 0 && cancel->load(std::memory_order_relaxed)) return false;
            recorded.series.append(overview::recordedAmplitude(gate, h),
                                   dbToReference ? dbToReference(h) : std::nullopt);
            return true;
        });
    return recorded;
}

} // namespace pelix::indications
