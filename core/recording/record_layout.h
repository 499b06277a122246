// The recording's records as the reader names them: the layout itself is
// described once, in layout/record_layout.h.
#pragma once

#include "layout/record_layout.h"

#include <cstdint>

namespace pelix::recording {

using layout::frameStride;
using layout::kCurveOffsets;
using layout::kFrameHeaderBytes;
using layout::kFrameRecordBytes;
using layout::kMagicBytes;
using layout::kReadingSlots;
using layout::kRecordingHeaderBytes;
using layout::kSampleBlockBytes;
using layout::kSamplePairs;
using layout::kTcgPoints;
using layout::kZoneLengths;
using layout::recordsPerFrame;

inline constexpr int32_t kOldestVersion = 6;
// Version 7 instruments wrote four unused bytes after the setup record.
inline constexpr int32_t kVersionWithPadding = 7;

namespace rh = layout::setup;     // RecordingHeader fields
namespace tp = layout::tcg_point; // fields of one TCGPoint
namespace fh = layout::frame;     // FrameHeader fields

} // namespace pelix::recording
