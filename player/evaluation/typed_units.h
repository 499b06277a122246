// Lengths as the recording's readings show them, for the fields where the user
// types a gate or a search box: millimetres, inches, or, for a microsecond
// recording, the echo's round-trip time in µs (its display still works in
// millimetres). The conversions, the text a field shows, and the reading of a
// typed text against limits that are the ones the field names.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace pelix::player {

struct TypedUnits {
    enum class Kind { Millimetre, Inch, Microsecond };
    Kind kind = Kind::Millimetre;
    int decimals = 2;      // as the readings show the unit
    double velocity = 0.0; // m/s: turns millimetres into microseconds

    // `units` is the recording's Units byte; `displayVelocity` its velocity in m/s.
    // Without a usable velocity a microsecond recording is typed in millimetres.
    static TypedUnits of(uint8_t units, float displayVelocity);

    const char* symbol() const; // "mm", "in" or "µs" (UTF-8)
    double typed(double display) const;
    double display(double typed) const;
    // A value in display units as a field shows it.
    std::string text(double display) const;
};

// A closed range of typed values, its ends as the field names them.
struct TypedRange {
    double low = 0.0;
    double high = 0.0;
};

// The range of typed values inside [displayLow, displayHigh], its ends rounded
// inwards to the field's decimals, so that typing a named end is accepted.
TypedRange typedRange(const TypedUnits& units, double displayLow, double displayHigh);
// "between 0.00 and 110.00 mm"
std::string rangeText(const TypedRange& range, int decimals, std::string_view unit);

// A field's text read as a number: its value, or why it is refused.
struct TypedValue {
    std::optional<double> value;
    std::string refusal;
};

// A number with '.' or ',' as its decimal point, inside `range`.
TypedValue readTyped(std::string_view text, const TypedRange& range, int decimals, std::string_view unit);
// True when no field of a dialog was refused (each refusal empty).
bool noneRefused(std::span<const std::string> refusals);
// A whole number inside [low, high] ("percent" and the like name the unit).
TypedValue readWhole(std::string_view text, int32_t low, int32_t high, std::string_view unit);

} // namespace pelix::player
