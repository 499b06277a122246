// What `pelix info` prints for a person at a terminal: the recording in words,
// with the names the player and the inspection report use.
#pragma once

#include "core/recording/open_recording.h"

#include <string>

namespace pelix::tool {

// "Caption:  value" lines. Reads every frame's header once for the flags the
// operator set, and frame 1's for the gates.
std::string infoSummary(const recording::OpenRecording& rec);

} // namespace pelix::tool
