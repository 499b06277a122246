#include "core/frame/frame_arithmetic.h"
#include "core/numbers/number_format.h"

#include <gtest/gtest.h>

#include <climits>

namespace pelix::frame {
namespace {

using numbers::formatFixed;
using recording::FrameHeader;
using recording::RecordingHeader;

RecordingHeader setupWith(int32_t velocity, int32_t probeDelay, int32_t gateBTrigger = 0) {
    RecordingHeader h;
    h.Velocity = velocity;
    h.ProbeDelay = probeDelay;
    h.GateBTrigger = gateBTrigger;
    return h;
}

TEST(SoundPathTest, GateAEchoAtFourThousandTicks) {
    FrameHeader f;
    f.GateAOn = 1;
    f.GateAValid = 1;
    f.GateATOF_2_5ns = 4000;
    const float path = soundPathA(setupWith(59200, 0), f);
    EXPECT_FLOAT_EQ(path, 29601.48f); // 10000.5 ns x 5920 m/s, there and back
    const float caret = toDisplayUnits(path, unitConstantsFor(0));
    EXPECT_FLOAT_EQ(caret, 29.60148f);
    EXPECT_EQ(formatFixed(caret, 2), "29.60");
    EXPECT_EQ(formatFixed(toDisplayUnits(path, unitConstantsFor(1)), 3), "1.165");
}

TEST(SoundPathTest, GateAWithoutEchoOrOffHasNoPath) {
    FrameHeader f;
    f.GateAOn = 1;
    f.GateAValid = 0;
    f.GateATOF_2_5ns = 4000;
    EXPECT_EQ(soundPathA(setupWith(59200, 300), f), 0.0f);
    f.GateAOn = 0;
    f.GateAValid = 1;
    EXPECT_EQ(soundPathA(setupWith(59200, 300), f), 0.0f);
    f.GateAOn = 1;
    EXPECT_FLOAT_EQ(soundPathA(setupWith(59200, 300), f), (10000.5f - 300) * 59200 / 20000);
}

TEST(SoundPathTest, GateBByTriggerAndValidity) {
    struct Case {
        const char* what;
        int32_t trigger, bOn, aValid, bValid, aTof, bTof;
        double expected_um;
    };
    const double v = 59200.0 / 20000.0;
    const Case cases[] = {
        {"gate B off", 0, 0, 1, 1, 100, 2000, 0},
        {"triggered, gate A without echo", 1, 1, 0, 1, 100, 2000, 0},
        {"no gate B echo", 0, 1, 1, 0, 100, 2000, 0},
        {"absolute", 0, 1, 1, 1, 100, 2000, (5 * 2000 + 1) / 2.0 * v},
        {"absolute while gate A saw nothing", 0, 1, 0, 1, 100, 2000, (5 * 2000 + 1) / 2.0 * v},
        {"triggered: counted from the gate A echo", 1, 1, 1, 1, 100, 2000, (5 * 2100 + 1) / 2.0 * v},
        {"trigger 2 counts from gate A too", 2, 1, 0, 1, 100, 2000, (5 * 2100 + 1) / 2.0 * v},
        // Times near the end of the 32-bit range must not overflow when added.
        {"huge times", 1, 1, 1, 1, INT_MAX, INT_MAX, (5.0 * 2 * INT_MAX + 1) / 2.0 * v},
    };
    for (const auto& c : cases) {
        FrameHeader f;
        f.GateBOn = c.bOn;
        f.GateAValid = c.aValid;
        f.GateBValid = c.bValid;
        f.GateATOF_2_5ns = c.aTof;
        f.GateBTOF_2_5ns = c.bTof;
        EXPECT_FLOAT_EQ(soundPathB(setupWith(59200, 0, c.trigger), f), static_cast<float>(c.expected_um))
            << c.what;
    }
}

TEST(GateBStartTest, AbsoluteStartByTrigger) {
    struct Case {
        int32_t trigger, aValid;
        float expected;
    };
    // gate A start 10, gate B start 5 (relative when triggered), caret one at 12.5
    const Case cases[] = {{0, 1, 5.0f},  {0, 0, 5.0f},  {1, 0, 15.0f},
                          {1, 1, 17.5f}, {1, 2, 15.0f}, {3, 1, 17.5f}};
    for (const auto& c : cases) {
        FrameHeader f;
        f.GateAValid = c.aValid;
        EXPECT_EQ(absoluteGateBStart(setupWith(59200, 0, c.trigger), f, 10.0f, 5.0f, 12.5f), c.expected)
            << c.trigger << "/" << c.aValid;
    }
}

TEST(GateThresholdTest, RfKeepsTheSignRectifiedDoesNot) {
    struct Case {
        int32_t rectification, a, b;
        int16_t expectedA;
        int32_t expectedB;
    };
    const Case cases[] = {
        {0, -20, -30, -20, -30},
        {2, -20, -30, 20, 30},
        {3, 20, 30, 20, 30},
        {7, -20, -30, 20, 30},
        // Values the 16-bit gate A property cannot hold saturate instead of wrapping.
        {0, -40000, INT_MIN, -32768, INT_MIN},
        {1, -40000, INT_MIN, 32767, INT_MAX},
    };
    for (const auto& c : cases) {
        const GateThresholds t = gateThresholds(c.rectification, c.a, c.b);
        EXPECT_EQ(t.gateA, c.expectedA) << c.rectification << " " << c.a;
        EXPECT_EQ(t.gateB, c.expectedB) << c.rectification << " " << c.b;
    }
}

TEST(UnitConstantsTest, OnlyInchDiffersFromMillimetre) {
    for (const uint8_t units : {0, 2, 3, 255}) {
        const UnitConstants u = unitConstantsFor(units);
        EXPECT_EQ(u.lengthDivisor, 1000.0);
        EXPECT_EQ(u.lengthDecimals, 2);
        EXPECT_STREQ(u.velocityTitle, "Velocity(mm/s):");
        EXPECT_EQ(u.velocityDecimals, 0);
        EXPECT_STREQ(u.unitsText, "MM");
    }
    const UnitConstants inch = unitConstantsFor(1);
    EXPECT_EQ(inch.lengthDivisor, 25400.0);
    EXPECT_EQ(inch.lengthDecimals, 3);
    EXPECT_STREQ(inch.velocityTitle, "Velocity(in/us):");
    EXPECT_EQ(inch.velocityDecimals, 4);
    EXPECT_STREQ(inch.unitsText, "INCH");
}

TEST(PositionTitleTest, FramesAndSecondsWithThreeBlanks) {
    EXPECT_EQ(positionTitle(12, 3000, 0, 60), "12/3000 Frames   0/60 Seconds");
    EXPECT_STREQ(rectificationText(0), "RF");
    EXPECT_STREQ(rectificationText(3), "FULLWAVE");
    EXPECT_STREQ(rectificationText(4), "");
}

} // namespace
} // namespace pelix::frame
