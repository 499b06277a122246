// A streamed pass over the frame headers of a recording: the file is read in
// large blocks (one read per header would cost a system call per frame) and
// each frame's header (for envelope pairs, the first record's) is handed to a
// visitor in frame order. Memory stays one block however long the recording is.
#pragma once

#include "core/recording/recording_file.h"

#include <cstdint>
#include <functional>

namespace pelix::recording {

class OpenRecording;

// Where the frame records lie: enough to read headers from another handle
// of the same file (a background scan opens its own).
struct FrameRecordLayout {
    int64_t firstRecord = 0; // byte offset of frame 1's record
    int64_t stride = 0;      // bytes from one frame's first record to the next
    int32_t frameCount = 0;
};

FrameRecordLayout frameRecordLayout(const OpenRecording& rec);

enum class HeaderScanEnd {
    Complete, // every frame asked for was visited
    CutShort, // the file ends inside frame `stoppedAt`'s header (it shrank since it was opened)
    Stopped,  // the visitor returned false for frame `stoppedAt`
};

struct HeaderScanResult {
    HeaderScanEnd end = HeaderScanEnd::Complete;
    int64_t stoppedAt = 0; // 0 when complete
};

// `visit(frame, headerBytes)` sees kFrameHeaderBytes bytes; returning false stops the scan.
using FrameHeaderVisitor = std::function<bool(int64_t frame, const uint8_t* header)>;

// Frames first..last (1-based, within the layout's frame count).
HeaderScanResult scanFrameHeaders(const RecordingFile& file, const FrameRecordLayout& layout, int64_t first,
                                  int64_t last, const FrameHeaderVisitor& visit);

} // namespace pelix::recording
