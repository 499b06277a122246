// The instrument's integer common logarithm.
#pragma once

#include <cstdint>

namespace pelix::cal::dac {

// Entries 2..9: round(10000 log10 n); entries 10..99: round(10000 log10 n) - 10000, the
// fraction of the logarithm of the two-digit mantissa n / 10; entry 100 closes the last
// interval. Entries 0 and 1 are 0, so that the logarithm of 0 reads as 0.
extern const int32_t LOG10_TABLE[101];

} // namespace pelix::cal::dac
