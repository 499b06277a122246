// The index of the operator's flags, found by reading the flag word of every
// frame from the first until the recorded number of flags is found. On a
// long recording whose last flag lies near its end this reads the whole file,
// so the window runs it on a thread of its own, through its own handle.
#pragma once

#include "core/recording/flag_index.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/recording_file.h"

#include <atomic>
#include <cstdint>

namespace pelix::recording {

// Stops early (with what was found so far) when the file ends inside a frame
// or when `stop` turns true; a caller that set `stop` discards the result.
FlagIndex scanFlagIndex(const RecordingFile& file, const FrameRecordLayout& layout, int32_t flagCount,
                        const std::atomic<bool>* stop = nullptr);

} // namespace pelix::recording
