// A reading as the instrument shows it, and its text in the result record.
#pragma once

#include <cstddef>
#include <cstdint>

#include "readings/readings_state.h"

namespace pelix::cal::readings {

// The instrument's kinds of reading value (the numbers are the recorded ones).
enum class ReadingKind : int32_t {
    Integer = 0,
    Percent = 1,
    Distance = 2, // micrometres
    Zone = 3,
    Decibel = 4, // 0.1 dB
    None = 5,    // no reading: empty text
    Text = 6,
};

struct Reading {
    ReadingKind kind = ReadingKind::None;
    bool hasValue = false;
    bool live = false;
    bool clipped = false;
    int64_t value = 0;
    const char* text = nullptr; // the Text kind's value
};

inline constexpr std::size_t kReadingTextBytes = 34;
inline constexpr const char* kNoValue = "-----";

// Writes the reading's text (always NUL-terminated within kReadingTextBytes) and
// tells whether a value was shown; a distance in microseconds needs a velocity.
bool writeReadingText(const Reading& reading, const Setup& setup, char* out);

} // namespace pelix::cal::readings
