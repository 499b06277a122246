// Fixed-pattern number texts ("0", "0.0", "0.00", "0.000", "0.0000") as the
// instrument's panels show them: the value is taken as it reads (the shortest
// decimal that reads back as the same single or double), and that decimal is
// rounded half away from zero. A gate start of 1.005 held as a single thus
// reads "1.01" under "0.00" although its binary value lies just below 1.005.
#pragma once

#include <cstdint>
#include <string>

namespace pelix::numbers {

// `decimals` is the number of zeros after the point of the pattern (0 for "0").
std::string formatFixed(double value, int decimals, char decimalPoint = '.');
std::string formatFixed(float value, int decimals, char decimalPoint = '.');

// The shortest decimal that reads back as the same value, always in positional
// notation ("0.0001", never "1e-04").
std::string shortestDecimal(double value);
std::string shortestDecimal(float value);

// Conversions to whole numbers as the player makes them: nearest, halves to even.
int64_t roundHalfEven(double value);
// The same, saturated to the range of a 16-bit or 32-bit integer property.
int16_t toInt16Saturated(int64_t value);
int32_t toInt32Saturated(int64_t value);

} // namespace pelix::numbers
