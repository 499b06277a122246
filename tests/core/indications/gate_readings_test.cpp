// The gate readings an indication is placed by: found by their code in whichever
// slot records them, and read as the panel's text reads.
#include "core/indications/gate_readings.h"

#include <gtest/gtest.h>

namespace pelix::indications {
namespace {

using recording::FrameHeader;
using recording::RecordingHeader;

constexpr int32_t kDistance = 2, kDecibel = 4;

void setReading(FrameHeader& frame, std::size_t slot, int32_t kind, int32_t value, bool none = false) {
    frame.ReadingNoValue[slot] = none ? 1 : 0;
    frame.ReadingLive[slot] = 1;
    frame.ReadingValue[slot] = value;
    frame.ReadingKind[slot] = kind;
}

TEST(GateReadingsTest, EachGateFindsItsOwnCodesInAnySlot) {
    RecordingHeader setup{};
    // dBrB, PA, SB, DA, DB, SA; no dBrA and no PB.
    setup.ReadingCodes = {18, 7, 4, 6, 10, 3, 0};
    FrameHeader frame{};
    setReading(frame, 0, kDecibel, 35);
    setReading(frame, 1, kDistance, 1234);
    setReading(frame, 2, kDistance, 20800);
    setReading(frame, 3, kDistance, 14710);
    setReading(frame, 4, kDistance, 0, true);
    setReading(frame, 5, kDistance, 9000);

    const std::vector<GateReading> a = gateReadings(setup, 3240.0f, frame, Gate::A);
    ASSERT_EQ(a.size(), 3U);
    EXPECT_EQ(a[0].quantity, GateQuantity::SoundPath);
    EXPECT_EQ(a[0].name, "SA");
    EXPECT_EQ(a[0].text, "9.00mm");
    EXPECT_EQ(a[0].number, 9.0);
    EXPECT_EQ(a[1].quantity, GateQuantity::Depth);
    EXPECT_EQ(a[1].number, 14.71);
    EXPECT_EQ(a[2].quantity, GateQuantity::Projection);
    EXPECT_EQ(a[2].text, "1.23mm");
    EXPECT_EQ(recordedDbToReference(setup, frame, Gate::A), std::nullopt);

    const std::vector<GateReading> b = gateReadings(setup, 3240.0f, frame, Gate::B);
    ASSERT_EQ(b.size(), 3U);
    EXPECT_EQ(b[0].number, 20.8);
    EXPECT_EQ(b[1].quantity, GateQuantity::Depth);
    EXPECT_EQ(b[1].text, "-----");
    EXPECT_EQ(b[1].number, std::nullopt);
    EXPECT_EQ(b[2].quantity, GateQuantity::DbToReference);
    EXPECT_EQ(b[2].unit, "dB");
    EXPECT_EQ(recordedDbToReference(setup, frame, Gate::B), 3.5);
}

// The dB reading counts only as the panel shows a number: none when the slot says no value or
// holds nothing above 0, nor when the slot records something other than decibels.
TEST(GateReadingsTest, DbToReferenceAsThePanelShowsIt) {
    RecordingHeader setup{};
    setup.ReadingCodes = {17, 0, 0, 0, 0, 0, 0};
    const struct {
        int32_t kind, value;
        bool none;
        std::optional<double> expected;
    } cases[] = {
        {kDecibel, 25, false, 2.5},         {kDecibel, 1, false, 0.1},
        {kDecibel, 0, false, std::nullopt}, {kDecibel, -5, false, std::nullopt},
        {kDecibel, 40, true, std::nullopt}, {kDistance, 40, false, std::nullopt},
    };
    for (const auto& c : cases) {
        FrameHeader frame{};
        setReading(frame, 0, c.kind, c.value, c.none);
        EXPECT_EQ(recordedDbToReference(setup, frame, Gate::A), c.expected) << c.kind << " " << c.value;
    }
}

} // namespace
} // namespace pelix::indications
