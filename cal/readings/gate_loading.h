#pragma once

#include <cstdint>

#include "readings/readings_state.h"

namespace pelix::cal::readings {

// Echoes below this height (whole percent) do not trigger a gate.
inline constexpr int32_t TriggerThresholdPercent = 5;

// The 32-bit word a gate value stands for. The player marks "nothing found" by
// adding 2^31 to a value, so the conversion keeps the low 32 bits of the value
// truncated toward zero; a value that is no number at all reads as the bare mark.
int32_t gateWord(double value);

// Loads one frame's six gate values (amplitude, time, third word of A, then B).
void loadGates(ReadingsState& state, const double* gateData);

} // namespace pelix::cal::readings
