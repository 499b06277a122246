// The instrument's reading codes 1..23 ("A%A", "SA", "DA", "ERS", "dBrA", ...).
#pragma once

#include <cstdint>

#include "readings/reading_text.h"
#include "readings/readings_state.h"

namespace pelix::cal::readings {

// The reading of one code; codes outside 1..23 give no reading (kind None).
Reading evaluateReadingCode(ReadingsState& state, int32_t code);

// The code a result slot shows: slots 0..6 those of the recording; 7..10 the
// fixed "SA", "A%A", "SB", "A%B" of the parameter panel; 0 for any other slot.
int32_t codeOfSlot(const ReadingsState& state, int32_t slot);

} // namespace pelix::cal::readings
