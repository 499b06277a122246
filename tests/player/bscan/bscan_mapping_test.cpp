// Where the B-scan window's frames lie: the columns stretched over the cells
// (a click shows a frame of the column under it, a drag takes every frame of
// its columns, the cursor covers the frame's columns), and the sample axis
// in each unit a recording can be made in.
#include "core/recording/derived_setup.h"
#include "player/bscan/bscan_axis.h"
#include "player/bscan/bscan_columns.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace pelix::bscan {
namespace {

struct ColumnsCase {
    const char* name;
    int32_t columns;
    int32_t from, to;
    double width; // widget pixels the cells cover
};

class BscanColumnsTest : public ::testing::TestWithParam<ColumnsCase> {};

TEST_P(BscanColumnsTest, ClicksDragsAndTheCursorAgreeWithTheColumnRule) {
    const ColumnsCase k = GetParam();
    const BscanColumns c{10.0, k.width, k.columns, k.from, k.to};
    const int64_t n = int64_t{k.to} - k.from + 1;
    // The edges show the range's ends; past them the click is held to the grid.
    EXPECT_EQ(c.frameAt(10.0), k.from);
    EXPECT_EQ(c.frameAt(10.0 + k.width - 0.01), k.to);
    EXPECT_EQ(c.frameAt(-500.0), k.from);
    EXPECT_EQ(c.frameAt(1e9), k.to);
    // A drag over everything is the whole range, in either direction.
    EXPECT_EQ(c.framesBetween(10.0 + k.width, 10.0).first, k.from);
    EXPECT_EQ(c.framesBetween(10.0, 10.0 + k.width).last, k.to);

    for (int32_t col = 0; col < k.columns; ++col) {
        // The middle of column col, as the mouse would point at it.
        const double x = (c.xOf(col) + c.xOf(col + 1)) / 2.0;
        ASSERT_EQ(c.columnAt(x), col);
        const int32_t first = k.from + static_cast<int32_t>(int64_t{col} * n / k.columns);
        const int32_t last =
            n >= k.columns ? k.from + static_cast<int32_t>((int64_t{col} + 1) * n / k.columns) - 1 : first;
        const int32_t clicked = c.frameAt(x);
        EXPECT_GE(clicked, first) << col;
        EXPECT_LE(clicked, last) << col;
        const FrameSpan dragged = c.framesBetween(x, x);
        EXPECT_EQ(dragged.first, first) << col;
        EXPECT_EQ(dragged.last, last) << col;
        // The cursor of a frame of this column covers it.
        const ColumnRange cursor = c.columnsOf(clicked);
        EXPECT_LE(cursor.first, col) << col;
        EXPECT_GE(cursor.last, col) << col;
    }
    EXPECT_TRUE(c.columnsOf(k.from - 1).empty()); // outside the grid's frames: no cursor
    EXPECT_TRUE(c.columnsOf(k.to + 1).empty());
    EXPECT_FALSE(c.columnsOf(k.to).empty());
}

INSTANTIATE_TEST_SUITE_P(Grids, BscanColumnsTest,
                         ::testing::Values(ColumnsCase{"FewerFramesThanColumns", 40, 5, 11, 40.0},
                                           ColumnsCase{"AsManyFramesAsColumns", 30, 1, 30, 30.0},
                                           ColumnsCase{"ManyFramesAColumn", 25, 100, 1099, 25.0},
                                           // At 200 % the grid has two columns a logical pixel.
                                           ColumnsCase{"TwoColumnsAPixel", 60, 1, 997, 30.0},
                                           ColumnsCase{"OneFrame", 12, 7, 7, 24.0}),
                         [](const ::testing::TestParamInfo<ColumnsCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(BscanColumns, AnEmptyGridAnswersNothing) {
    const BscanColumns none{};
    EXPECT_FALSE(none.valid());
    EXPECT_EQ(none.frameAt(3.0), 0);
    EXPECT_EQ(none.framesBetween(0.0, 9.0).first, 0);
}

struct AxisCase {
    const char* name;
    uint8_t units;
    int32_t velocity; // 0.1 m/s
    const char* unit;
    double labelStart, labelSpan;
};

class BscanAxisTest : public ::testing::TestWithParam<AxisCase> {};

TEST_P(BscanAxisTest, LabelsTheDisplayWindowInTheRecordingsUnit) {
    const AxisCase k = GetParam();
    recording::RecordingHeader setup;
    setup.Units = k.units;
    setup.Velocity = k.velocity;
    setup.DisplayDelay_ns = 4000;
    setup.DisplayRange_um = 50000;
    const recording::DerivedSetup derived = recording::deriveSetup(setup);
    const SampleAxis axis = sampleAxisOf(setup, derived);
    EXPECT_STREQ(axis.unit, k.unit);
    EXPECT_NEAR(axis.labelStart, k.labelStart, 1e-5);
    EXPECT_NEAR(axis.labelSpan, k.labelSpan, 1e-4);
    // The gates are placed in the control's display units whatever the labels say.
    EXPECT_NEAR(axis.displayStart, derived.displayDelay, 1e-6);
    EXPECT_NEAR(axis.displaySpan, derived.displayRange * 1.1, 1e-4);
    EXPECT_NEAR(axisFraction(axis, axis.displayStart + axis.displaySpan / 4), 0.25, 1e-9);
}

// 4000 ns at 5920 m/s is 11.84 mm (11.835 as the control is handed it); 50 mm
// shown over 55 mm, in time 2 x 55 mm / 5920 m/s = 18.58 µs.
INSTANTIATE_TEST_SUITE_P(
    Units, BscanAxisTest,
    ::testing::Values(AxisCase{"Millimetre", 0, 59200, "mm", 11.835, 55.0},
                      AxisCase{"Inch", 1, 59200, "inch", 0.465642, 55.0 / 25.4},
                      AxisCase{"Microseconds", 2, 59200, "\u00b5s", 4.0, 18.581081},
                      // Without a velocity there is no time to show: the window stays in millimetres.
                      AxisCase{"MicrosecondsWithoutVelocity", 2, 0, "mm", 0.0, 55.0},
                      AxisCase{"AnyOtherUnitIsMillimetre", 7, 59200, "mm", 11.835, 55.0}),
    [](const ::testing::TestParamInfo<AxisCase>& info) { return std::string(info.param.name); });

TEST(BscanAxis, AnEmptyWindowStillDividesToFiniteRows) {
    recording::RecordingHeader setup;
    setup.Velocity = 59200;
    const SampleAxis axis = sampleAxisOf(setup, recording::deriveSetup(setup));
    EXPECT_GT(axis.displaySpan, 0.0);
    EXPECT_TRUE(std::isfinite(axisFraction(axis, 3.0)));
}

} // namespace
} // namespace pelix::bscan
