// The instrument's look-up arithmetic: sine in tenths of a degree, amplitude
// ratios in 0.1 dB, gain factors from 0.01 dB, and the receiver filter delays.
#pragma once

#include <cstdint>
#include <optional>

namespace pelix::cal::readings {

inline constexpr int32_t kSineOne = 1 << 18; // sine values are scaled by 2^18

// Sine and cosine of an angle in 0.1 degree, any angle.
int32_t fastSin(int64_t angle_01deg);
int32_t fastCos(int64_t angle_01deg);
// Arc sine, in 0.1 degree, of a 2^18-scaled value; values beyond +-1 give +-90 degrees.
int32_t fastAsin(int64_t scaled);

// Ratio of two amplitudes in 0.1 dB, saturating at +-48.2 dB; 0 when either is 0.
int32_t decibelRatio(uint16_t a, uint16_t b);

// Gain factor x 10000 of a level in 0.01 dB; 0 beyond +-109.9 dB.
int64_t antilogRatio(int64_t level_001dB);

// Delay entry D of a receiver filter; none for filters the instrument does not have.
std::optional<int32_t> filterDelay(int32_t filterSetup);

} // namespace pelix::cal::readings
