#include "core/recording/flag_scan.h"

#include "core/recording/frame_header.h"
#include "core/recording/record_layout.h"

#include <algorithm>
#include <vector>

namespace pelix::recording {

FlagIndex scanFlagIndex(const RecordingFile& file, const FrameRecordLayout& layout, int32_t flagCount,
                        const std::atomic<bool>* stop) {
    FlagIndex flags(flagCount);
    // The scan stops once the recorded number of flags is found; a count
    // larger than the flagged frames leaves the rest of the index at 0. The
    // records are read in large blocks (one read per frame would cost a
    // system call per 2 KiB), each only up to the last flag word it needs.
    constexpr int64_t kFramesPerBlock = 128;
    constexpr auto kFlagBytes = static_cast<int64_t>(fh::FrameFlag.end());
    if (flags.full() || layout.frameCount < 1 || layout.stride < kFlagBytes) return flags;
    // No larger than the recording: a short one is opened without clearing a quarter mebibyte.
    std::vector<uint8_t> block(
        static_cast<std::size_t>(layout.stride * std::clamp<int64_t>(layout.frameCount, 1, kFramesPerBlock)));
    for (int64_t first = 1; !flags.full() && first <= layout.frameCount;) {
        if (stop && stop->load(std::memory_order_relaxed)) break;
        // A hole of a sparse file reads as zeros, so no frame in it is flagged:
        // the scan goes on where the data does.
        const int64_t start = layout.firstRecord + (first - 1) * layout.stride;
        const int64_t data = file.nextDataAt(start);
        if (data < 0) break;
        if (data - start >= layout.stride) {
            first += (data - start) / layout.stride;
            continue;
        }
        const int64_t frames = std::min<int64_t>(kFramesPerBlock, layout.frameCount - first + 1);
        const auto wanted = static_cast<std::size_t>((frames - 1) * layout.stride + kFlagBytes);
        const std::size_t got = file.readAt(start, block.data(), wanted);
        for (int64_t i = 0; i < frames && !flags.full(); ++i) {
            const auto at = static_cast<std::size_t>(i * layout.stride);
            if (at + kFlagBytes > got) return flags; // the file ends here (it shrank since it was opened)
            if (frameFlagOf(block.data() + at) != 0) flags.add(static_cast<int32_t>(first + i));
        }
        first += frames;
    }
    return flags;
}

} // namespace pelix::recording
