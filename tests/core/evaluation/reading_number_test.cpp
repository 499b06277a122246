// The number and unit a table of readings gives for each text the panel can show.
#include "core/evaluation/reading_number.h"

#include <gtest/gtest.h>

namespace pelix::evaluation {
namespace {

TEST(ReadingNumberTest, EveryKindOfReadingText) {
    struct Case {
        const char* text;
        const char* number;
        const char* unit;
    };
    const Case cases[] = {
        // Distances in each unit, trailing zeros dropped.
        {"20.80mm", "20.8", "mm"},
        {"0.00mm", "0", "mm"},
        {"1.250in", "1.25", "in"},
        {"8.305us", "8.305", "us"},
        // The library pads distances to a field width before it strips them.
        {"   27.79mm", "27.79", "mm"},
        // Percent ends in a blank; the clipped mark is not part of the number.
        {"56% ", "56", "%"},
        {">104% ", "104", "%"},
        // Decibels, negative ones and tenths below one.
        {"12.3dB", "12.3", "dB"},
        {"-0.5dB", "-0.5", "dB"},
        {"-0.0dB", "0", "dB"},
        // Counts and zones carry no unit.
        {"3", "3", ""},
        // No value shows no number, whatever unit its text keeps.
        {"-----", "", ""},
        {"-----% ", "", ""},
        {"-----dB", "", ""},
        // A class is a word, not a number.
        {"II", "", ""},
        // A decimal comma (a locale's number format) reads the same.
        {"20,80mm", "20.8", "mm"},
        // Digits followed by something that is no unit are not a measured number.
        {"12abc", "", ""},
        {"12.mm", "", ""},
        // Nothing a reading could be: no number rather than a cut one.
        {"123456789012345678901234567890123456789012345678901234567890", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ReadingNumber n = readingNumber(c.text);
        EXPECT_EQ(n.number(), c.number);
        EXPECT_EQ(n.unit, c.unit);
    }
}

} // namespace
} // namespace pelix::evaluation
