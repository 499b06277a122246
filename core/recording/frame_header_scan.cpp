#include "core/recording/frame_header_scan.h"

#include "core/recording/open_recording.h"

#include <algorithm>
#include <vector>

namespace pelix::recording {

namespace {
// Small enough to stay in the processor's cache while its headers are decoded.
constexpr int64_t kBlockBytes = 256 * 1024;
} // namespace

FrameRecordLayout frameRecordLayout(const OpenRecording& rec) {
    FrameRecordLayout layout;
    layout.firstRecord = rec.recordOffset(1);
    layout.stride = rec.frameStride();
    layout.frameCount = rec.FrameCount();
    return layout;
}

HeaderScanResult scanFrameHeaders(const RecordingFile& file, const FrameRecordLayout& layout, int64_t first,
                                  int64_t last, const FrameHeaderVisitor& visit) {
    first = std::max<int64_t>(first, 1);
    last = std::min<int64_t>(last, layout.frameCount);
    if (first > last || layout.stride < static_cast<int64_t>(kFrameHeaderBytes)) return {};
    // No larger than the frames asked for.
    const int64_t framesPerBlock = std::clamp<int64_t>(kBlockBytes / layout.stride, 1, last - first + 1);
    std::vector<uint8_t> block(static_cast<std::size_t>(layout.stride * framesPerBlock));
    for (int64_t start = first; start <= last; start += framesPerBlock) {
        const int64_t frames = std::min(framesPerBlock, last - start + 1);
        // Up to the end of the last header needed; the rest of its record is not read.
        const auto wanted =
            static_cast<std::size_t>((frames - 1) * layout.stride + static_cast<int64_t>(kFrameHeaderBytes));
        const std::size_t got =
            file.readAt(layout.firstRecord + (start - 1) * layout.stride, block.data(), wanted);
        for (int64_t i = 0; i < frames; ++i) {
            const auto at = static_cast<std::size_t>(i * layout.stride);
            // A header the file's end cuts short is never handed on: its words
            // would mix this frame with whatever the buffer held before.
            if (at + kFrameHeaderBytes > got) return {HeaderScanEnd::CutShort, start + i};
            if (!visit(start + i, block.data() + at)) return {HeaderScanEnd::Stopped, start + i};
        }
    }
    return {};
}

} // namespace pelix::recording
