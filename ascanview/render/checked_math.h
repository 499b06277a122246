// Arithmetic that reports failure instead of overflowing: a drawing step that
// meets a value it cannot represent is abandoned, never continued with garbage.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace pelix::ascanview {

// The nearest integer, halves to even: what std::nearbyint gives in the default
// rounding mode, without a library call. Adding and taking away 2^52 leaves no
// bits below the binary point, and the hardware rounds that addition to even.
inline double nearestEven(double value) {
    constexpr double kTwo52 = 4503599627370496.0;
    if (!(std::fabs(value) < kTwo52)) return value; // already whole (or not finite)
    return value >= 0.0 ? (value + kTwo52) - kTwo52 : (value - kTwo52) + kTwo52;
}

// Nearest integer, halves to even, as the instrument converts reals.
inline std::optional<std::int32_t> roundToLong(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = nearestEven(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

inline std::optional<std::int16_t> roundToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = nearestEven(value);
    if (rounded < -32768.0 || rounded > 32767.0) return std::nullopt;
    return static_cast<std::int16_t>(rounded);
}

// A real quotient; empty for a zero divisor or a result beyond double range.
inline std::optional<double> divide(double numerator, double denominator) {
    if (denominator == 0.0 || !std::isfinite(numerator) || !std::isfinite(denominator)) return std::nullopt;
    const double quotient = numerator / denominator;
    if (!std::isfinite(quotient)) return std::nullopt;
    return quotient;
}

inline std::optional<std::int32_t> multiplyLong(std::int32_t a, std::int32_t b) {
    std::int32_t product = 0;
    if (__builtin_mul_overflow(a, b, &product)) return std::nullopt;
    return product;
}

inline bool isFiniteValue(double value) {
    return std::isfinite(value);
}

} // namespace pelix::ascanview
