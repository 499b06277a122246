// Integer sine and arcsine on the sine table, angles in tenths of a degree,
// sines scaled by 2^18.
#pragma once

#include "ascanview/interface/export.h"

#include <cstdint>
#include <optional>

namespace pelix::ascanview {

// Sine of any angle, folded into the table's quarter wave.
ASCANVIEW_API std::int32_t fastSin4Q(std::int32_t angle);

// Arcsine by binary search over the table: the index whose sine is nearest,
// the lower one on a tie, with the sign of the argument. The argument is
// replaced by its absolute value, as the lookup works on it. Empty when the
// magnitude exceeds 2^18 (no table entry reaches it) or cannot be negated.
ASCANVIEW_API std::optional<std::int16_t> fastAsin4Q(std::int32_t& sinValue);

} // namespace pelix::ascanview
