// Echo times to sound paths, and sound paths to zone numbers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "readings/readings_state.h"

namespace pelix::cal::readings {

// Nanoseconds of a count of 2.5 ns ticks, halves rounded up.
int64_t nanoseconds(int64_t ticks);

// Sound path in micrometres of an echo time in ticks, from the probe's zero point.
int64_t soundPath(const Setup& setup, int64_t ticks);

struct GatePath {
    int64_t path_um = 0;
    bool live = false; // false: from the last triggered frame, or 0 when there was none
};

// The path a gate's readings show: the current echo when the gate triggered,
// otherwise the held one. Gate B counts from the gate A echo when the setup says so.
GatePath gatePath(const ReadingsState& state, GateId gate);

// The zone a sound path falls in, or none.
std::optional<int64_t> zoneNumber(int64_t path_um, int32_t zoneLengthsVariable,
                                  const std::array<int32_t, kZoneCount>& zoneLengths_um);

} // namespace pelix::cal::readings
