#include "core/evaluation/recorded_readings.h"

#include <gtest/gtest.h>

namespace pelix::evaluation {
namespace {

using recording::RecordingHeader;

TEST(ReadingNameTest, NamesMarksAndEquals) {
    struct Case {
        int32_t code, mode, gateAMode, gateBMode;
        const char* expected;
    };
    const Case cases[] = {
        {0, 0, 0, 0, ""},       {0, 2, 1, 1, ""}, // an empty slot stays empty whatever its mode
        {22, 2, 0, 0, ""},      {-1, 0, 0, 0, ""},     {6, 1, 1, 0, "DA="},    {6, 2, 1, 0, "DA/="},
        {6, 3, 0, 1, "DA^="},   {3, 0, 1, 1, "SA="},   {3, 2, 1, 0, "SA/="},   {3, 2, 0, 0, "SA^="},
        {4, 2, 1, 0, "SB^="},                          // gate B's mark follows gate B's mode
        {13, 3, 0, 2, "LB/="},  {1, 2, 1, 1, "A%A^="}, // readings without a gate mark always get "^"
        {21, 3, 0, 0, "CLS^="}, {14, 2, 1, 1, "ERS="}, {5, 2, 0, 0, "SBA="},   {5, 0, 1, 0, "SBa="},
        {5, 0, 0, 1, "SbA="},   {5, 3, 7, 7, "Sba="},  {17, 1, 0, 0, "dBrA="},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readingName(c.code, c.mode, c.gateAMode, c.gateBMode), c.expected)
            << "code " << c.code << " mode " << c.mode;
}

RecordingHeader zoneSetup(bool variable, std::initializer_list<int32_t> lengths, uint8_t units = 0) {
    RecordingHeader h;
    h.Units = units;
    h.ZoneLengthsVariable = variable ? 1 : 0;
    std::size_t k = 0;
    for (const int32_t l : lengths)
        h.ZoneLengths[k++] = l;
    return h;
}

TEST(RecordedValueTest, TextsByKind) {
    struct Case {
        const char* what;
        RecordedReading reading; // code, noValue, live, value, kind, clipped
        uint8_t units;
        const char* expected;
    };
    const Case cases[] = {
        {"empty slot", {0, 0, 1, 42, 0, 0}, 0, ""},
        {"integer", {15, 0, 1, -42, 0, 0}, 0, "-42"},
        {"integer missing", {15, 1, 0, 42, 0, 0}, 0, "-----"},
        {"no value only in the low byte", {15, 0x101, 0, 42, 0, 0}, 0, "-----"},
        {"other no-value byte shows the value", {15, 2, 0, 42, 0, 0}, 0, "42"},
        {"percent", {1, 0, 1, 87, 1, 0}, 0, "87% "},
        {"percent clipped", {1, 0, 1, 104, 1, 1}, 0, ">104% "},
        {"percent missing", {1, 1, 1, 104, 1, 1}, 0, "-----% "},
        {"distance mm", {3, 0, 1, 29601, 2, 0}, 0, "29.60mm"},
        {"distance mm rounds half up", {3, 0, 1, 1005, 2, 0}, 0, "1.01mm"},
        {"distance inch", {3, 0, 1, 29601, 2, 0}, 1, "1.165in"},
        {"distance us", {3, 0, 1, 29600, 2, 0}, 2, "10.000us"}, // 2 x 29.6 mm at 5920 m/s
        {"distance missing", {3, 1, 1, 29601, 2, 0}, 0, "-----"},
        {"dB", {17, 0, 1, 125, 4, 0}, 0, "12.5dB"},
        {"dB zero", {17, 0, 1, 0, 4, 0}, 0, "-----dB"},
        {"dB negative", {17, 0, 1, -30, 4, 0}, 0, "-----dB"},
        {"none kind", {17, 0, 1, 125, 5, 0}, 0, ""},
        {"text kind", {21, 0, 1, 3, 6, 0}, 0, "3"},
        {"unknown kind", {21, 0, 1, 3, 9, 0}, 0, ""},
        {"kind in the low byte", {21, 0, 1, 3, 0x106, 0}, 0, "3"},
    };
    for (const auto& c : cases) {
        RecordingHeader h;
        h.Units = c.units;
        EXPECT_EQ(recordedValueText(c.reading, h, 5920.0f), c.expected) << c.what;
    }
}

TEST(RecordedValueTest, ZonesByBothRules) {
    struct Case {
        const char* what;
        bool variable;
        int32_t value;
        const char* expected;
    };
    const Case cases[] = {
        // Cumulative lengths 10, 30, 60 mm, ...
        {"first zone", true, 10000, "1"},
        {"second zone", true, 10001, "2"},
        {"third zone end", true, 60000, "3"},
        {"beyond all ten lengths", true, 550001, "-----"},
        {"zero path", true, 0, "-----"},
        // Equal zones of the first length (10 mm): round((v + 1) / 10000) + 1, halves to even.
        {"equal zones, half to even", false, 24999, "3"}, // 2.5 -> 2
        {"equal zones up", false, 34999, "5"},            // 3.5 -> 4
        {"equal zones small", false, 1, "1"},
    };
    for (const auto& c : cases) {
        const RecordingHeader h =
            zoneSetup(c.variable, {10000, 20000, 30000, 40000, 50000, 60000, 70000, 80000, 90000, 100000});
        EXPECT_EQ(recordedValueText({3, 0, 1, c.value, 3, 0}, h, 5920.0f), c.expected) << c.what;
    }
}

TEST(RecordedValueTest, DegenerateSetupsShowNoValueInsteadOfFailing) {
    // Equal zones of length 0 would divide by zero.
    EXPECT_EQ(recordedValueText({3, 0, 1, 500, 3, 0}, zoneSetup(false, {0}), 5920.0f), "-----");
    // A microsecond reading without a velocity has no time.
    EXPECT_EQ(recordedValueText({3, 0, 1, 500, 2, 0}, zoneSetup(false, {}, 2), 0.0f), "-----");
    // Lengths read without byte swap can be anything; their sum must not wrap around.
    const RecordingHeader odd = zoneSetup(true, {-2000000000, -2000000000, 5});
    EXPECT_EQ(recordedValueText({3, 0, 1, 100, 3, 0}, odd, 5920.0f), "-----");
    EXPECT_EQ(recordedValueText({3, 0, 1, INT32_MAX, 3, 0}, zoneSetup(false, {1}), 5920.0f), "2147483649");
}

TEST(RecordedValueTest, HeldMeansNeitherLiveNorMissing) {
    EXPECT_TRUE(readingHeld({3, 0, 0, 1, 2, 0}));
    EXPECT_FALSE(readingHeld({3, 0, 1, 1, 2, 0}));
    EXPECT_FALSE(readingHeld({3, 1, 0, 1, 2, 0}));
}

// The table of a whole recording keeps names and texts between frames: each must
// still be the one the frame's own modes and reading give.
TEST(RecordedReadingTextsTest, NamesFollowEachFramesGateModesAndTextsEachFramesReading) {
    RecordingHeader setup = zoneSetup(false, {1000});
    setup.ReadingCodes = {5, 3, 4, 15, 0, 1, 17};
    setup.ReadingModes = {0, 2, 2, 0, 0, 0, 0};
    RecordedReadingTexts texts(setup, 5920.0f);
    for (const int32_t a : {0, 1, 2})
        for (const int32_t b : {0, 1, 3}) {
            recording::FrameHeader frame;
            frame.GateAMode = a;
            frame.GateBMode = b;
            const auto& names = texts.names(frame);
            for (std::size_t slot = 0; slot < recording::kReadingSlots; ++slot)
                EXPECT_EQ(names[slot], readingName(setup.ReadingCodes[slot], setup.ReadingModes[slot], a, b))
                    << "slot " << slot << " modes " << a << "," << b;
        }

    // Frame after frame in one slot: every field of the reading changes the text when it changes.
    const RecordedReading frames[] = {
        {3, 0, 1, 29601, 2, 0}, {3, 0, 1, 29601, 2, 0}, {3, 0, 1, 1005, 2, 0}, {3, 1, 1, 1005, 2, 0},
        {3, 0, 1, 1005, 3, 0},  {1, 0, 1, 104, 1, 0},   {1, 0, 1, 104, 1, 1},  {1, 0, 0, 104, 1, 1},
        {15, 0, 1, 104, 0, 1},  {3, 0, 1, 29601, 2, 0},
    };
    for (const RecordedReading& r : frames)
        EXPECT_EQ(texts.valueText(1, r), recordedValueText(r, setup, 5920.0f))
            << r.value << " kind " << r.kind;
    // Slots keep their own texts.
    EXPECT_EQ(texts.valueText(2, frames[5]), recordedValueText(frames[5], setup, 5920.0f));
    EXPECT_EQ(texts.valueText(1, frames[0]), "29.60mm");
}

} // namespace
} // namespace pelix::evaluation
