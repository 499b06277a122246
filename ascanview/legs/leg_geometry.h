// Length of one sound leg through the wall of a flat plate or a pipe.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/legs/leg_setup.h"

#include <cstdint>
#include <optional>

namespace pelix::ascanview {

// 0: no usable pipe geometry; 1: the beam meets the inner wall; 2: it passes
// the inner wall and crosses the outer circle. Empty when the arithmetic
// overflows (an inner radius of 8192 or more cannot be scaled by 2^18 in 32 bits).
ASCANVIEW_API std::optional<std::int16_t> trigCurvatureCase(const LegSetup& setup);

// Leg length in the unit of the thickness; empty when it cannot be computed
// (an angle outside the table, a cosine of 0, a negative root, an overflow).
ASCANVIEW_API std::optional<double> trigLegLength(const LegSetup& setup);

} // namespace pelix::ascanview
