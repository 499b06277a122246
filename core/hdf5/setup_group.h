// What an export says about the recording as a whole: the root's attributes
// and the /setup group (every setup field by name, as `pelix info --json`
// decodes it, and what the display derives from them).
#pragma once

#include "core/hdf5/h5_objects.h"
#include "core/recording/open_recording.h"

#include <cstdint>
#include <string>

namespace pelix::hdf5 {

inline constexpr const char* kFormatName = "pelix-recording";
// Raised when a dataset or attribute changes meaning or goes; additions keep it.
inline constexpr int64_t kFormatVersion = 1;

struct SourceFacts {
    std::string name; // the recording's file name, without its folder
    int64_t size = 0;
    int32_t first = 1, last = 1; // the exported frames
};

// The root's attributes, all but the SHA-256 (written when the hash is done).
bool writeRootAttributes(hid_t file, const recording::OpenRecording& recording, const SourceFacts& source,
                         std::string& error);
bool writeSetupGroup(hid_t file, const recording::OpenRecording& recording, std::string& error);

} // namespace pelix::hdf5
