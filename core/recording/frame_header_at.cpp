#include "core/recording/frame_header_at.h"

namespace pelix::recording {

std::optional<FrameHeader> frameHeaderAt(const RecordingFile& file, const FrameRecordLayout& layout,
                                         int64_t frame) {
    std::optional<FrameHeader> header;
    scanFrameHeaders(file, layout, frame, frame, [&header](int64_t, const uint8_t* bytes) {
        header = decodeFrameHeader(bytes);
        return true;
    });
    return header;
}

} // namespace pelix::recording
