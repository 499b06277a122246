// Where the three leg bands fall on the A-scan: the times at which the sound
// has travelled one, two and three legs, mapped into the display window.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/legs/leg_setup.h"

#include <array>
#include <cstdint>
#include <optional>

namespace pelix::ascanview {

// Whether the setup asks for bands at all (colouring on and a usable angle).
ASCANVIEW_API bool legBandsWanted(const LegSetup& setup);

// x of the four band edges on a surface `surfaceWidth` wide. Edges before the
// window collapse onto 0, those after it onto the width. Empty when the
// arithmetic fails (zero velocity or span, overflow, an unusable geometry).
ASCANVIEW_API std::optional<std::array<std::int32_t, 4>> legEdges(const LegSetup& setup, double surfaceWidth);

} // namespace pelix::ascanview
