// A distance in micrometres as the instrument prints it in millimetres: the value times 0.001
// (a double) with two decimals, as printf's "%.2f" prints it. Sound paths, depths and projections
// of every frame of a recording are printed this way, so it is worked out with whole numbers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelix::cal::readings {

// Room the text needs at most: a sign, nineteen digits, the point and two decimals.
inline constexpr std::size_t kMillimetreTextBytes = 24;

// Writes the text into `out` (kMillimetreTextBytes at least, no NUL) and returns its length.
std::size_t writeMillimetres(char* out, int64_t micrometres);

} // namespace pelix::cal::readings
