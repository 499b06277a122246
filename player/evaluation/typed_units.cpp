#include "player/evaluation/typed_units.h"

#include "core/numbers/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pelix::player {

namespace {

constexpr double kMicrometresPerMillimetre = 1000.0;
// A typed end that reads back a hair beyond the exact one is still that end.
constexpr double kStepTolerance = 1e-6;

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

std::optional<double> parseNumber(std::string_view text) {
    std::string s(trimmed(text));
    std::replace(s.begin(), s.end(), ',', '.');
    if (s.empty()) return std::nullopt;
    // from_chars takes no leading '+'.
    const char* first = s.data() + (s.front() == '+' ? 1 : 0);
    const char* last = s.data() + s.size();
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

} // namespace

TypedUnits TypedUnits::of(uint8_t units, float displayVelocity) {
    TypedUnits u;
    if (units == 1) {
        u.kind = Kind::Inch;
        u.decimals = 3;
    } else if (units == 2 && std::isfinite(displayVelocity) && displayVelocity > 0.0F) {
        u.kind = Kind::Microsecond;
        u.decimals = 3;
        u.velocity = displayVelocity;
    }
    return u;
}

const char* TypedUnits::symbol() const {
    switch (kind) {
    case Kind::Inch:
        return "in";
    case Kind::Microsecond:
        return "\u00b5s";
    case Kind::Millimetre:
        break;
    }
    return "mm";
}

double TypedUnits::typed(double display) const {
    // The round trip: twice the path over the velocity.
    if (kind == Kind::Microsecond) return 2.0 * display * kMicrometresPerMillimetre / velocity;
    return display;
}

double TypedUnits::display(double typed) const {
    if (kind == Kind::Microsecond) return typed * velocity / (2.0 * kMicrometresPerMillimetre);
    return typed;
}

std::string TypedUnits::text(double display) const {
    return numbers::formatFixed(typed(display), decimals);
}

TypedRange typedRange(const TypedUnits& units, double displayLow, double displayHigh) {
    const double step = std::pow(10.0, units.decimals);
    double low = units.typed(displayLow);
    double high = units.typed(displayHigh);
    if (low > high) std::swap(low, high);
    return {std::ceil(low * step - kStepTolerance) / step, std::floor(high * step + kStepTolerance) / step};
}

std::string rangeText(const TypedRange& range, int decimals, std::string_view unit) {
    return "between " + numbers::formatFixed(range.low, decimals) + " and " +
           numbers::formatFixed(range.high, decimals) + " " + std::string(unit);
}

TypedValue readTyped(std::string_view text, const TypedRange& range, int decimals, std::string_view unit) {
    const std::optional<double> value = parseNumber(text);
    if (!value) return {std::nullopt, "Not a number: type a value " + rangeText(range, decimals, unit)};
    const double tolerance = kStepTolerance * std::pow(10.0, -decimals);
    if (*value < range.low - tolerance || *value > range.high + tolerance)
        return {std::nullopt, "Outside the picture: type a value " + rangeText(range, decimals, unit)};
    return {value, {}};
}

bool noneRefused(std::span<const std::string> refusals) {
    return std::all_of(refusals.begin(), refusals.end(), [](const std::string& r) { return r.empty(); });
}

TypedValue readWhole(std::string_view text, int32_t low, int32_t high, std::string_view unit) {
    const std::string named =
        "a whole " + std::string(unit) + " between " + std::to_string(low) + " and " + std::to_string(high);
    const std::optional<double> value = parseNumber(text);
    if (!value || *value != std::trunc(*value)) return {std::nullopt, "Type " + named};
    if (*value < low || *value > high) return {std::nullopt, "Out of reach: type " + named};
    return {value, {}};
}

} // namespace pelix::player
