// Where an angle-beam echo lies in the part: depth, surface distance from the
// beam index, that distance less the probe's index offset, and the leg (skip)
// the sound path has reached, on a flat plate or from the outside of a pipe.
#pragma once

#include <cstdint>

#include "readings/readings_state.h"

namespace pelix::cal::readings {

// Fills the cache for a sound path of soundPath_um along the beam.
GeometryCache computeGeometry(const Setup& setup, int64_t soundPath_um);

} // namespace pelix::cal::readings
