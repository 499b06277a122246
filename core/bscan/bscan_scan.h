// Reads a B-scan's cells from a recording: each frame's sample block once, in
// large sequential blocks with positioned reads, keeping per column only a
// running maximum of each sample byte (the screen percent never falls as the
// byte grows), reduced to rows when the column ends. Memory holds the grid and
// a read buffer a worker, however long the recording.
//
// A frame whose record (for envelope recordings, record pair) the end of the
// file cuts short is left out; it and every later frame are missing, so the
// scan ends there. A set stop flag ends it at the next block read. Either
// way the columns finished keep their cells and the rest have no value.
#pragma once

#include "core/bscan/bscan_grid.h"
#include "core/recording/frame_header_scan.h"

#include <atomic>
#include <cstdint>

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::bscan {

// Where the frames lie and how their samples read: enough to scan from any
// handle on the recording (a background scan opens its own).
struct BscanSource {
    recording::FrameRecordLayout layout;
    int32_t rectification = 0; // the setup record's: 0 RF, 1 negative, 2 positive, 3 full wave
};

BscanSource bscanSource(const recording::OpenRecording& rec);

struct BscanRequest {
    int32_t from = 1; // first frame, 1-based
    int32_t to = 0;   // last frame; 0: the recording's last
    int32_t width = 1000;
    int32_t height = 400;
};

enum class BscanEnd {
    Complete,
    CutShort,             // the file ends inside frame `cutShortAt` (a partial last frame, or it shrank)
    Stopped,              // the stop flag was set
    UnknownRectification, // the samples cannot be read as a trace: no column has a value
};

struct BscanResult {
    BscanGrid grid;
    BscanEnd end = BscanEnd::Complete;
    int32_t cutShortAt = 0; // 0 unless the end is CutShort
};

// The request as the scan reads it: the range within the recording's frames
// (From first, To at least From), width 1..20000 and height 1..800.
BscanRequest clampedRequest(const BscanRequest& request, int32_t frameCount);

// `stop` ends the scan early; `framesDone` (if given) grows by the frames read
// as the scan goes, for a progress display. `workers` 0: one for a small range,
// two for a large one on a machine with two cores or more; at most four.
BscanResult scanBscan(const recording::RecordingFile& file, const BscanSource& source,
                      const BscanRequest& request, const std::atomic<bool>* stop = nullptr,
                      std::atomic<int64_t>* framesDone = nullptr, unsigned workers = 0);
BscanResult scanBscan(const recording::OpenRecording& rec, const BscanRequest& request,
                      const std::atomic<bool>* stop = nullptr, std::atomic<int64_t>* framesDone = nullptr,
                      unsigned workers = 0);

} // namespace pelix::bscan
