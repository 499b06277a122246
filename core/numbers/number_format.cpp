#include "core/numbers/number_format.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace pelix::numbers {

namespace {

// Room for the longest fixed-notation double (denormals need ~330 digits).
constexpr std::size_t kFixedBuffer = 400;

template <typename T> std::string shortestFixed(T value) {
    if (value == 0) return "0"; // also -0: a zero shows no sign
    char buf[kFixedBuffer];
    const auto result = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    return std::string(buf, result.ptr);
}

// Rounds a plain decimal ("-12.3456") to `decimals` places, halves away from zero.
std::string roundDecimalText(const std::string& text, int decimals, char decimalPoint) {
    if (text.empty() || !(std::isdigit(static_cast<unsigned char>(text.back())))) return text; // inf, nan
    const bool negative = text[0] == '-';
    const std::size_t start = negative ? 1 : 0;
    const std::size_t point = text.find('.', start);
    std::string whole = text.substr(start, point == std::string::npos ? std::string::npos : point - start);
    std::string fraction = point == std::string::npos ? std::string() : text.substr(point + 1);

    const std::size_t keep = static_cast<std::size_t>(decimals < 0 ? 0 : decimals);
    const bool roundUp = fraction.size() > keep && fraction[keep] >= '5';
    fraction.resize(keep, '0');

    // The kept digits as one number, so the carry runs across the point.
    std::string digits = whole + fraction;
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0) {
            --i;
            if (digits[i] == '9') {
                digits[i] = '0';
            } else {
                ++digits[i];
                break;
            }
            if (i == 0) {
                digits.insert(digits.begin(), '1');
                break;
            }
        }
    }
    const std::size_t wholeDigits = digits.size() - keep;
    std::string out;
    out.reserve(digits.size() + 2);
    if (negative) out += '-';
    out.append(digits, 0, wholeDigits);
    if (keep > 0) {
        out += decimalPoint;
        out.append(digits, wholeDigits, keep);
    }
    return out;
}

} // namespace

std::string shortestDecimal(double value) {
    return shortestFixed(value);
}
std::string shortestDecimal(float value) {
    return shortestFixed(value);
}

std::string formatFixed(double value, int decimals, char decimalPoint) {
    return roundDecimalText(shortestFixed(value), decimals, decimalPoint);
}

std::string formatFixed(float value, int decimals, char decimalPoint) {
    return roundDecimalText(shortestFixed(value), decimals, decimalPoint);
}

int64_t roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    const double r = std::nearbyint(value);
    if (r >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
    if (r <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(r);
}

int16_t toInt16Saturated(int64_t value) {
    if (value > std::numeric_limits<int16_t>::max()) return std::numeric_limits<int16_t>::max();
    if (value < std::numeric_limits<int16_t>::min()) return std::numeric_limits<int16_t>::min();
    return static_cast<int16_t>(value);
}

int32_t toInt32Saturated(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

} // namespace pelix::numbers
