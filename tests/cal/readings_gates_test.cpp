#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "readings/gate_loading.h"
#include "readings/gate_paths.h"
#include "readings_fixture.h"
#include "support/case_names.h"

namespace pelix::cal::testing {
namespace {

constexpr int32_t kSA = 3, kSB = 4, kSBA = 5, kAPercentA = 1, kAPercentB = 2;

class ReadingsGatesTest : public ReadingsTest {
  protected:
    void SetUp() override {
        ReadingsTest::SetUp();
        header.word(rh::Velocity, 59200);
        frame.gates(true, true);
    }
};

TEST(ReadingsGateWordTest, KeepsTheLowWordOfMarkedValues) {
    EXPECT_EQ(readings::gateWord(kNothingFound + 400), static_cast<int32_t>(0x80000190u));
    EXPECT_EQ(readings::gateWord(400.9), 400);
    EXPECT_EQ(readings::gateWord(-5.7), -5);
    EXPECT_EQ(readings::gateWord(std::nan("")), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(readings::gateWord(1e30), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(readings::gateWord(-std::numeric_limits<double>::infinity()),
              std::numeric_limits<int32_t>::min());
}

struct AmplitudeCase {
    double raw;
    const char* text;
};

class ReadingsAmplitudeTest : public ReadingsGatesTest,
                              public ::testing::WithParamInterface<AmplitudeCase> {};

TEST_P(ReadingsAmplitudeTest, ClippedAbove104AndAlwaysCurrent) {
    EXPECT_EQ(readCode(kAPercentA, {GetParam().raw, 400, 0}), (Shown{GetParam().text, 1}));
}

INSTANTIATE_TEST_SUITE_P(ReadingsRaw, ReadingsAmplitudeTest,
                         ::testing::Values(AmplitudeCase{4095, ">104%"}, AmplitudeCase{3990, "102%"},
                                           AmplitudeCase{4000, "102%"}, AmplitudeCase{0, "0%"},
                                           // Below the trigger threshold the height still shows.
                                           AmplitudeCase{kNothingFound + 156, "4%"}),
                         [](const auto& info) {
                             return pelix::testing::caseName("Raw", info.param.raw, "Shows", info.param.text);
                         });

TEST_F(ReadingsGatesTest, AmplitudeOfAGateThatIsOffOrWaitsForGateA) {
    frame.gates(false, true);
    EXPECT_EQ(readCode(kAPercentA, echo(400)), (Shown{"-----%", 1}));
    header.word(rh::GateBRelative, 1);
    EXPECT_EQ(readCode(kAPercentB, echo(400, 4), echo(100)), (Shown{"-----%", 1}));
}

struct UnitCase {
    int32_t units;
    int32_t velocity;
    const char* text;
};

class ReadingsPathUnitTest : public ReadingsGatesTest, public ::testing::WithParamInterface<UnitCase> {};

TEST_P(ReadingsPathUnitTest, FourHundredTicks) {
    header.word(rh::Units, GetParam().units).word(rh::Velocity, GetParam().velocity);
    EXPECT_EQ(readCode(kSA, echo(400)).text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(ReadingsUnits, ReadingsPathUnitTest,
                         ::testing::Values(UnitCase{0, 59200, "2.96mm"}, UnitCase{1, 59200, "0.117in"},
                                           UnitCase{2, 59200, "1.000us"}, UnitCase{7, 59200, "2.96mm"},
                                           // Only the low byte selects the unit.
                                           UnitCase{0x101, 59200, "0.117in"},
                                           // Microseconds need a velocity to divide by.
                                           UnitCase{2, 0, "-----"}, UnitCase{0, 0, "0.00mm"}),
                         [](const auto& info) {
                             return pelix::testing::caseName("Units", info.param.units, "Velocity",
                                                             info.param.velocity, "Shows", info.param.text);
                         });

// A player hands the same setup buffer with every frame: a word changed in it is read again, and a
// reading that repeats from the frame before is written in the units the setup has now.
TEST_F(ReadingsGatesTest, ASetupChangedInPlaceIsReadAgainAndRepeatsFollowIt) {
    header.codes({kSA});
    for (const UnitCase& c :
         {UnitCase{0, 59200, "2.96mm"}, UnitCase{1, 59200, "0.117in"}, UnitCase{2, 59200, "1.000us"},
          UnitCase{2, 29600, "1.000us"}, UnitCase{0, 29600, "1.48mm"}, UnitCase{0, 59200, "2.96mm"}}) {
        header.word(rh::Units, c.units).word(rh::Velocity, c.velocity);
        for (int frameIndex = 0; frameIndex < 3; ++frameIndex) {
            load();
            gates(echo(400));
            EXPECT_EQ(slot(0).text, c.text) << "units " << c.units << " velocity " << c.velocity;
        }
    }
}

TEST_F(ReadingsGatesTest, ProbeDelayIsTheZeroPoint) {
    header.word(rh::ProbeDelay, 1000);
    EXPECT_EQ(readCode(kSA, echo(400)).text, "0.00mm");
    header.word(rh::ProbeDelay, 1500);
    EXPECT_EQ(readCode(kSA, echo(400)).text, "-1.48mm");
}

TEST_F(ReadingsGatesTest, HeldPathLivesUntilTheNextSetup) {
    header.codes({kSA});
    load();
    gates(echo(400));
    EXPECT_EQ(slot(0), (Shown{"2.96mm", 1}));

    gates(echo(800, 4)); // too low to trigger
    EXPECT_EQ(slot(0), (Shown{"2.96mm", 0}));
    gates({rawForPercent(50), kNothingFound + 800, 0}); // nothing found
    EXPECT_EQ(slot(0), (Shown{"2.96mm", 0}));
    gates(echo(800));
    EXPECT_EQ(slot(0), (Shown{"5.92mm", 1}));

    load();
    gates(noEcho());
    EXPECT_EQ(slot(0), (Shown{"0.00mm", 0}));
}

TEST_F(ReadingsGatesTest, FreshLibraryShowsEveryGateOff) {
    EXPECT_EQ(slot(7), (Shown{"-----", 1}));
    EXPECT_EQ(slot(8), (Shown{"-----%", 1}));
    EXPECT_EQ(slot(0), (Shown{"", 1}));
}

TEST_F(ReadingsGatesTest, GateBCountsFromGateAWhenRelative) {
    header.word(rh::GateBRelative, 1);
    EXPECT_EQ(readCode(kSB, echo(400), echo(100)), (Shown{"3.70mm", 1}));
    EXPECT_EQ(readCode(kSB, echo(400, 4), echo(100)), (Shown{"-----", 1}));
    // Any non-zero word adds the gate A time, triggered or not, but only 1 makes B wait for A.
    header.word(rh::GateBRelative, 2);
    EXPECT_EQ(readCode(kSB, echo(400, 4), echo(100)), (Shown{"3.70mm", 1}));
    header.word(rh::GateBRelative, 0);
    EXPECT_EQ(readCode(kSB, echo(400), echo(100)), (Shown{"0.74mm", 1}));
}

TEST_F(ReadingsGatesTest, EchoSpacingHeldFromTheLastFrameWithBothEchoes) {
    header.codes({kSBA});
    load();
    gates(echo(400), noEcho());
    EXPECT_EQ(slot(0), (Shown{"0.00mm", 0}));
    gates(echo(400), echo(560));
    EXPECT_EQ(slot(0), (Shown{"1.18mm", 1}));
    gates(echo(400), noEcho());
    EXPECT_EQ(slot(0), (Shown{"1.18mm", 0}));
    gates(echo(560), echo(400));
    EXPECT_EQ(slot(0), (Shown{"1.18mm", 1}));

    frame.gates(true, false);
    load();
    gates(echo(400), echo(560));
    EXPECT_EQ(slot(0), (Shown{"-----", 1}));
}

TEST_F(ReadingsGatesTest, ZoneReadingsWithoutZoneLengthsHaveNoValue) {
    header.word(rh::PathAsZoneNumber, 1);
    EXPECT_EQ(readCode(kSA, echo(400)), (Shown{"-----", 1}));
    header.word(rh::ZoneLengthsVariable, 1);
    EXPECT_EQ(readCode(kSA, echo(400)), (Shown{"-----", 1}));
}

TEST(ReadingsZoneTest, UniformAndCumulativeZones) {
    std::array<int32_t, 10> lengths{1000, 1000, 1000};
    EXPECT_EQ(readings::zoneNumber(2960, 0, lengths), 3);
    EXPECT_EQ(readings::zoneNumber(999, 0, lengths), 2);
    EXPECT_EQ(readings::zoneNumber(2960, 1, lengths), 3);
    EXPECT_EQ(readings::zoneNumber(3000, 1, lengths), 3);
    EXPECT_EQ(readings::zoneNumber(3001, 1, lengths), std::nullopt);
    EXPECT_EQ(readings::zoneNumber(0, 1, lengths), std::nullopt);
    lengths[0] = 0;
    EXPECT_EQ(readings::zoneNumber(2960, 0, lengths), std::nullopt);
}

struct SlotCase {
    int32_t slot;
    Shown shown;
};

class ReadingsSlotTest : public ReadingsGatesTest, public ::testing::WithParamInterface<SlotCase> {};

TEST_P(ReadingsSlotTest, PanelSlotsAreFixedOthersEmpty) {
    header.codes({kSB, kSB, kSB, kSB, kSB, kSB, kSB});
    load();
    gates(echo(400, 80), echo(800, 60));
    EXPECT_EQ(slot(GetParam().slot), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(ReadingsSlots, ReadingsSlotTest,
                         ::testing::Values(SlotCase{6, {"5.92mm", 1}}, SlotCase{7, {"2.96mm", 1}},
                                           SlotCase{8, {"80%", 1}}, SlotCase{9, {"5.92mm", 1}},
                                           SlotCase{10, {"60%", 1}}, SlotCase{11, {"", 1}},
                                           SlotCase{-1, {"", 1}}, SlotCase{1 << 30, {"", 1}}),
                         [](const auto& info) { return pelix::testing::caseName("Slot", info.param.slot); });

TEST_F(ReadingsGatesTest, SlotCountFromTheFileIsBounded) {
    header.codes({kSA, kSA, kSA, kSA, kSA, kSA, kSA});
    header.word(rh::ReadingSlotCount, 1000);
    load();
    gates(echo(400));
    EXPECT_EQ(slot(6).text, "2.96mm");

    header.word(rh::ReadingSlotCount, -3);
    load();
    EXPECT_EQ(slot(0), (Shown{"", 1}));

    // Slots the recording leaves unset show nothing, not an earlier recording's readings.
    header.word(rh::ReadingSlotCount, 2);
    load();
    EXPECT_EQ(slot(1).text, "2.96mm");
    EXPECT_EQ(slot(2), (Shown{"", 1}));
}

TEST_F(ReadingsGatesTest, UnlistedCodesAreEmpty) {
    for (int32_t code : {0, 24, -1, 1 << 20})
        EXPECT_EQ(readCode(code, echo(400)), (Shown{"", 1})) << code;
}

TEST_F(ReadingsGatesTest, CaretsOfTriggeredGatesOnly) {
    header.word(rh::ProbeDelay, 100).word(rh::DisplayDelay_ns, 200).word(rh::GateBRelative, 1);
    load();
    gates(echo(400), echo(100));
    int32_t aOn = -1, aCaret = -1, bOn = -1, bCaret = -1;
    CVUpdatedCaret(&aOn, &aCaret, &bOn, &bCaret);
    EXPECT_EQ(aOn, 1);
    EXPECT_EQ(aCaret, 1000 - 300);
    EXPECT_EQ(bOn, 1);
    EXPECT_EQ(bCaret, 1250 - 300);

    gates(echo(400, 4), noEcho());
    aCaret = bCaret = 12345;
    CVUpdatedCaret(&aOn, &aCaret, &bOn, &bCaret);
    EXPECT_EQ(aOn, 0);
    EXPECT_EQ(bOn, 0);
    EXPECT_EQ(aCaret, 12345);
    EXPECT_EQ(bCaret, 12345);
    CVUpdatedCaret(nullptr, nullptr, nullptr, nullptr);
}

TEST_F(ReadingsGatesTest, NullRecordsDoNotCrash) {
    SetHeaderData(nullptr, nullptr);
    UpdateGateData(nullptr);
    EXPECT_EQ(FormatCVRsltValue(7, nullptr), 1);
    EXPECT_EQ(slot(7), (Shown{"-----", 1}));
}

} // namespace
} // namespace pelix::cal::testing
