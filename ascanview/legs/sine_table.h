// The instrument's sine table: S[k] = round(2^18 * sin(k * 0.1 deg)), k = 0..900.
#pragma once

#include "ascanview/interface/export.h"

#include <array>
#include <cstdint>

namespace pelix::ascanview {

constexpr std::int32_t kSineOne = 262144; // 2^18, the sine of 90.0 deg
constexpr int kSineTableLast = 900;       // tenths of a degree

ASCANVIEW_API const std::array<std::int32_t, kSineTableLast + 1>& sineTable();

} // namespace pelix::ascanview
