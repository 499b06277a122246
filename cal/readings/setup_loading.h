#pragma once

#include <cstdint>

#include "readings/readings_state.h"

namespace pelix::cal::readings {

// Takes a new setup: remembers the recording header (the caller keeps it alive
// and unchanged), copies the frame header and decodes the words the readings use.
// Either pointer may be null; the missing record then reads as all zero.
void loadSetup(ReadingsState& state, const uint8_t* recordingHeader, const uint8_t* frameHeader);

} // namespace pelix::cal::readings
