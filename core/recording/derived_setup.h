// The setup values the display works in: velocity, display delay and display
// range in millimetres (or inches for inch recordings), single precision.
#pragma once

#include "core/recording/recording_header.h"

namespace pelix::recording {

struct DerivedSetup {
    float velocity = 0;     // m/s, or in/us for inch recordings
    float displayDelay = 0; // mm or in, moved half a display step towards zero
    float displayRange = 0; // mm or in
};

DerivedSetup deriveSetup(const RecordingHeader& header);

} // namespace pelix::recording
