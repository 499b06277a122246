// A reading as a table of readings needs it: the number and the unit the
// panel's text shows, so that a table can never disagree with the window.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace pelix::evaluation {

struct ReadingNumber {
    // Plain decimal with '.' as the point and no trailing zeros ("20.8",
    // "-0.5", "104"); empty when the text shows no number ("-----", a class).
    std::string_view number() const { return {digitBuffer.data(), digitCount}; }
    // "mm", "in", "us", "%", "dB", or empty (a count, a zone, no number).
    std::string_view unit;

    // Room for any reading text the instrument or the library writes (34 bytes at most).
    static constexpr std::size_t kCapacity = 48;
    std::array<char, kCapacity> digitBuffer{};
    std::size_t digitCount = 0;
};

// Splits a reading text as the panel shows it ("20.80mm", ">104% ", "12.3dB",
// "3", "-----dB"). The clipped mark '>' is dropped: the number is the value the
// instrument recorded. Either decimal separator is read, as the panel uses the
// locale's. A text too long to be a reading has no number.
ReadingNumber readingNumber(std::string_view text);

} // namespace pelix::evaluation
