// 10000 * log10 by table and linear interpolation between two-digit mantissas.
#include "dac/log10_table.h"
#include "pelix_cal.h"

namespace pelix::cal::dac {

const int32_t LOG10_TABLE[101] = {
    0,    0,    3010, 4771, 6021, 6990, 7782, 8451, 9031, 9542, // n = 0..9
    0,    414,  792,  1139, 1461, 1761, 2041, 2304, 2553, 2788, // n = 10..19, less 10000
    3010, 3222, 3424, 3617, 3802, 3979, 4150, 4314, 4472, 4624, 4771, 4914, 5051, 5185, 5315, 5441, 5563,
    5682, 5798, 5911, 6021, 6128, 6232, 6335, 6435, 6532, 6628, 6721, 6812, 6902, 6990, 7076, 7160, 7243,
    7324, 7404, 7482, 7559, 7634, 7709, 7782, 7853, 7924, 7993, 8062, 8129, 8195, 8261, 8325, 8388, 8451,
    8513, 8573, 8633, 8692, 8751, 8808, 8865, 8921, 8976, 9031, 9085, 9138, 9191, 9243, 9294, 9345, 9395,
    9445, 9494, 9542, 9590, 9638, 9685, 9731, 9777, 9823, 9868, 9912, 9956, // n = 90..99
    10000};

namespace {

// decade k (value has k + 1 digits) with s = 10^(k-1): the two leading digits a, the rest r,
// and the remainder's share of the interval [a, a + 1] in 64 bits so that no argument overflows
template <uint32_t S> uint32_t logOfDecade(uint32_t value, uint32_t decade) {
    const uint32_t a = value / S;
    const uint32_t r = value - a * S;
    const auto step = static_cast<uint64_t>(LOG10_TABLE[a + 1] - LOG10_TABLE[a]);
    return 10000 * decade + static_cast<uint32_t>(LOG10_TABLE[a]) + static_cast<uint32_t>(r * step / S);
}

} // namespace
} // namespace pelix::cal::dac

extern "C" PELIX_CAL_API uint32_t INTLOG10LookUp(uint32_t ulValue) {
    using pelix::cal::dac::logOfDecade;
    if (ulValue < 10) return static_cast<uint32_t>(pelix::cal::dac::LOG10_TABLE[ulValue]);
    if (ulValue < 100) return logOfDecade<1>(ulValue, 1);
    if (ulValue < 1000) return logOfDecade<10>(ulValue, 2);
    if (ulValue < 10000) return logOfDecade<100>(ulValue, 3);
    if (ulValue < 100000) return logOfDecade<1000>(ulValue, 4);
    if (ulValue < 1000000) return logOfDecade<10000>(ulValue, 5);
    if (ulValue < 10000000) return logOfDecade<100000>(ulValue, 6);
    if (ulValue < 100000000) return logOfDecade<1000000>(ulValue, 7);
    if (ulValue < 1000000000) return logOfDecade<10000000>(ulValue, 8);
    return logOfDecade<100000000>(ulValue, 9);
}
