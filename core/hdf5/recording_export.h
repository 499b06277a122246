// A recording, or a range of its frames, written to an HDF5 file: the layout
// is described in docs/hdf5-layout.md. The file is written beside the target
// under a temporary name and renamed into place only when complete; a failure
// or a stop leaves no partial file and an existing target as it was.
#pragma once

#include "core/recording/open_recording.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace pelix::hdf5 {

// True for a name ending in .h5 or .hdf5 (any case): the file type the export is chosen by.
bool isHdf5Name(std::string_view path);

inline constexpr int kDefaultCompression = 1;
inline constexpr int kMaxCompression = 9;

struct ExportOptions {
    int32_t first = 1; // the frames exported, 1-based, within the recording
    int32_t last = 1;
    int compression = kDefaultCompression; // shuffle and deflate at this level; 0 stores as it is
    const std::atomic<bool>* stop = nullptr;
    // Called after every block of frames with the frames written so far.
    std::function<void(int64_t done, int64_t total)> progress;
};

enum class ExportEnd {
    Written,
    Stopped, // on request; nothing written
    Failed,  // `error` says why; nothing written
};

struct ExportResult {
    ExportEnd end = ExportEnd::Failed;
    std::string error; // one line naming the output (or the recording), for Failed
};

// `recording` is read through its own handle; it is never written.
ExportResult exportRecording(const recording::OpenRecording& recording, const std::string& target,
                             const ExportOptions& options);

} // namespace pelix::hdf5
