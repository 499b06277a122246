// One frame's header read on its own, for the few places that need a single
// frame's gates or readings (frame 1's level, an indication's peak).
#pragma once

#include "core/recording/frame_header.h"
#include "core/recording/frame_header_scan.h"

#include <cstdint>
#include <optional>

namespace pelix::recording {

// Frame `frame`'s header, decoded; none when the file no longer holds it whole.
std::optional<FrameHeader> frameHeaderAt(const RecordingFile& file, const FrameRecordLayout& layout,
                                         int64_t frame);

} // namespace pelix::recording
