// Arithmetic that reports failure instead of overflowing: a drawing step that
// meets a value it cannot represent is abandoned, never continued with garbage.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace pelix::ascanview {

// Nearest integer, halves to even, as the instrument converts reals.
inline std::optional<std::int32_t> roundToLong(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}

inline std::optional<std::int16_t> roundToInteger(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
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
