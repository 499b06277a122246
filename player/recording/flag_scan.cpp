#include "player/recording/flag_scan.h"

#include "player/recording/frame_header.h"

namespace pelix::recording {

FlagIndex scanFlagIndex(const RecordingFile& file, const FrameRecordLayout& layout, int32_t flagCount,
                        const std::atomic<bool>* stop) {
    FlagIndex flags(flagCount);
    if (flags.full()) return flags;
    // The scan stops once the recorded number of flags is found; a count
    // larger than the flagged frames leaves the rest of the index at 0.
    scanFrameHeaders(file, layout, 1, layout.frameCount, [&](int64_t frame, const uint8_t* header) {
        if (stop && stop->load(std::memory_order_relaxed)) return false;
        if (frameFlagOf(header) != 0) flags.add(static_cast<int32_t>(frame));
        return !flags.full();
    });
    return flags;
}

} // namespace pelix::recording
