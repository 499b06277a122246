// Where gates A and B of a B-scan column lie: the start and end of each gate
// of the column's first frame, in display units, as the A-scan control draws
// them for that frame (a triggered gate B counted from gate A's echo). Read
// from the frame headers through any handle of the recording, so a
// background scan reads them with its own. No Qt.
#pragma once

#include "core/bscan/bscan_grid.h"
#include "core/recording/frame_header.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/recording_header.h"

#include <atomic>
#include <optional>
#include <vector>

namespace pelix::bscan {

// A gate that is off has no edges.
struct GateEdges {
    std::optional<float> aStart, aEnd, bStart, bEnd;
};

GateEdges gateEdgesOf(const recording::RecordingHeader& setup, const recording::FrameHeader& frame);

// One entry a column of `grid`; a column without cells, or whose first frame's
// header the file no longer holds, has none. A set `stop` ends the reading
// early and leaves the rest without edges.
std::vector<GateEdges> columnGateEdges(const recording::RecordingFile& file,
                                       const recording::FrameRecordLayout& layout,
                                       const recording::RecordingHeader& setup, const BscanGrid& grid,
                                       const std::atomic<bool>* stop = nullptr);

} // namespace pelix::bscan
