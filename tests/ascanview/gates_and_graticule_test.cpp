// Gates, their end markers, the carets and the graticule on the operation list.
#include "ascan_fixture.h"
#include "support/case_names.h"

using namespace pelix::ascanview;

namespace {

using ascan_colors::kCaret;
using ascan_colors::kGateA;
using ascan_colors::kGateB;
using ascan_colors::kGraticule;

class GateTest : public AscanControlTest {
  protected:
    void SetUp() override {
        AscanControlTest::SetUp();
        setSamples(QList<qint16>(1601, 0), 800);
    }
    void showGateA(double start, double width, int threshold) {
        set("ShowGateA", -1);
        set("fGateAStart", start);
        set("fGateAWidth", width);
        set("iGateAThresh", threshold);
    }
    void showGateB(double start, double width, int threshold) {
        set("ShowGateB", -1);
        set("fGateBStart", start);
        set("fGateBWidth", width);
        set("iGateBThresh", threshold);
    }
};

TEST_F(GateTest, GateBarsMapDisplayUnitsAndThresholdPercent) {
    set("fAscanDelay", 10.0);
    set("fAscanRange", 50.0);
    showGateA(20.0, 10.0, 40);
    showGateB(30.0, 5.0, 60);
    redraw();
    const auto a = ops(SurfaceOpKind::Segment, kGateA);
    const auto b = ops(SurfaceOpKind::Segment, kGateB);
    ASSERT_EQ(a.size(), 5U); // bar and two arrow heads
    ASSERT_EQ(b.size(), 5U);
    expectLine(a[0], (20.0 - 10.0) / 50.0 * W(), H() - 0.4 * H(), (30.0 - 10.0) / 50.0 * W(),
               H() - 0.4 * H());
    expectLine(b[0], (30.0 - 10.0) / 50.0 * W(), H() - 0.6 * H(), (35.0 - 10.0) / 50.0 * W(),
               H() - 0.6 * H());
    EXPECT_FLOAT_EQ(get("newGateAStart").toFloat(), 20.0F);
    EXPECT_EQ(get("newGateAThresh").toInt(), 40);
    EXPECT_FLOAT_EQ(get("newGateBStart").toFloat(), 30.0F);
    EXPECT_EQ(get("newGateBThresh").toInt(), 60);
    EXPECT_EQ(ctl.dragState().gateBPixelStart, static_cast<int>(std::nearbyint(0.4 * W())));
}

TEST_F(GateTest, RfThresholdsCountFromTheCentreLine) {
    set("iAscanRectMode", OroAscanCtl::RF);
    setSamples(QList<qint16>(1601, 0), 1600);
    showGateA(10.0, 10.0, 50);
    showGateB(30.0, 10.0, -50);
    redraw();
    EXPECT_DOUBLE_EQ(ops(SurfaceOpKind::Segment, kGateA)[0].y1, H() / 2 - 50.0 / 200.0 * H());
    EXPECT_DOUBLE_EQ(ops(SurfaceOpKind::Segment, kGateB)[0].y1, H() / 2 + 50.0 / 200.0 * H());
}

struct ArrowCase {
    const char* name;
    double start, width;
    bool startOutward, endOutward;
};

class GateArrowTest : public GateTest, public ::testing::WithParamInterface<ArrowCase> {};

TEST_P(GateArrowTest, ArrowHeadsPointOutOfThePictureOnlyWhereTheGateLeavesIt) {
    const ArrowCase& c = GetParam();
    showGateA(c.start, c.width, 50);
    redraw();
    const auto a = ops(SurfaceOpKind::Segment, kGateA);
    ASSERT_EQ(a.size(), 5U);
    const double arm = H() / 40;
    const double y = H() / 2;
    const double x1 = c.start / 100.0 * W();
    const double x2 = (c.start + c.width) / 100.0 * W();
    if (c.startOutward) {
        expectLine(a[1], 0, y, arm, y + arm);
        expectLine(a[2], 0, y, arm, y - arm);
    } else {
        expectLine(a[1], x1, y, x1 - arm, y + arm);
        expectLine(a[2], x1, y, x1 - arm, y - arm);
    }
    if (c.endOutward) {
        expectLine(a[3], W(), y, W() - arm, y + arm);
        expectLine(a[4], W(), y, W() - arm, y - arm);
    } else {
        expectLine(a[3], x2, y, x2 + arm, y + arm);
        expectLine(a[4], x2, y, x2 + arm, y - arm);
    }
}

INSTANTIATE_TEST_SUITE_P(Gates, GateArrowTest,
                         ::testing::Values(ArrowCase{"Inside", 20, 30, false, false},
                                           ArrowCase{"StartsBeforeTheWindow", -5, 30, true, false},
                                           ArrowCase{"EndsBeyondTheWindow", 80, 40, false, true},
                                           ArrowCase{"SpansTheWindow", -10, 130, true, true},
                                           ArrowCase{"StartsExactlyAtTheLeftEdge", 0, 100, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GateTest, BeaMarksGateBWithTwoFullHeightLines) {
    showGateB(20.0, 30.0, 50);
    set("BEA", 1);
    redraw();
    const auto b = ops(SurfaceOpKind::Segment, kGateB);
    ASSERT_EQ(b.size(), 7U); // bar, two lines, two arrow heads
    const double x1 = 0.2 * W();
    const double x2 = 0.5 * W();
    expectLine(b[0], x1, H() / 2, x2, H() / 2);
    expectLine(b[1], x1, 0, x1, H());
    expectLine(b[2], x2, 0, x2, H());
}

TEST_F(GateTest, OtherNonZeroBeaDrawsNoLines) {
    showGateB(20.0, 30.0, 50);
    set("BEA", 2);
    redraw();
    EXPECT_EQ(ops(SurfaceOpKind::Segment, kGateB).size(), 5U);
}

TEST_F(GateTest, HiddenGatesDrawNothing) {
    showGateA(20.0, 30.0, 50);
    showGateB(20.0, 30.0, 50);
    set("ShowGateA", 0);
    set("ShowGateB", false);
    set("BEA", 1);
    redraw();
    EXPECT_TRUE(opsOfColor(kGateA).empty());
    EXPECT_TRUE(opsOfColor(kGateB).empty());
}

TEST_F(GateTest, FinishedDragTurnsTheDraggedBarIntoGateValues) {
    showGateA(20.0, 30.0, 50);
    set("gatea_move_flag", 1);
    GateDragState& drag = ctl.dragState();
    drag.gateADragging = 1;
    drag.gateADragBar = {W() / 4, H() * 0.3, W() / 2, H() * 0.3};
    redraw();
    const auto a = ops(SurfaceOpKind::Segment, kGateA);
    ASSERT_EQ(a.size(), 5U);
    expectLine(a[0], W() / 4, H() * 0.3, W() / 2, H() * 0.3);
    EXPECT_FLOAT_EQ(get("newGateAStart").toFloat(), 25.0F);
    EXPECT_EQ(get("newGateAThresh").toInt(), 70);
    EXPECT_FLOAT_EQ(get("fGateAStart").toFloat(), 25.0F);
    EXPECT_EQ(get("iGateAThresh").toInt(), 70);
    // The arrow heads follow the dragged bar.
    expectLine(a[1], W() / 4, H() * 0.3, W() / 4 - H() / 40, H() * 0.3 + H() / 40);
}

TEST_F(GateTest, WithdrawnMoveFlagEndsTheDragAtTheNextRedraw) {
    showGateA(20.0, 30.0, 50);
    set("gatea_move_flag", 0);
    ctl.dragState().gateADragging = 1;
    ctl.dragState().gateADragBar = {0, 0, 10, 0};
    redraw();
    EXPECT_EQ(ctl.dragState().gateADragging, 0);
    expectLine(ops(SurfaceOpKind::Segment, kGateA)[0], 0.2 * W(), H() / 2, 0.5 * W(), H() / 2);
}

TEST_F(GateTest, DraggedGateBWithBeaIsNotDrawnButStillTakesItsValues) {
    showGateB(20.0, 30.0, 50);
    set("gateb_move_flag", 1);
    set("BEA", 1);
    ctl.dragState().gateBDragging = 1;
    ctl.dragState().gateBDragBar = {W() / 10, H() / 4, W() / 5, H() / 4};
    redraw();
    EXPECT_FLOAT_EQ(get("newGateBStart").toFloat(), 10.0F);
    EXPECT_EQ(get("newGateBThresh").toInt(), 75);
    // Only the two full-height lines and the arrow heads of the computed bar.
    const auto b = ops(SurfaceOpKind::Segment, kGateB);
    ASSERT_EQ(b.size(), 6U);
    expectLine(b[0], 0.2 * W(), 0, 0.2 * W(), H());
}

TEST_F(GateTest, ADraggedThresholdBeyondSixteenBitsIsNotStored) {
    showGateA(20.0, 30.0, 50);
    set("gatea_move_flag", 1);
    ctl.dragState().gateADragging = 1;
    ctl.dragState().gateADragBar = {W() / 4, -H() * 400, W() / 2, -H() * 400};
    redraw();
    EXPECT_EQ(get("newGateAThresh").toInt(), 40100);
    EXPECT_EQ(get("iGateAThresh").toInt(), 50);
}

struct CaretCase {
    const char* name;
    bool drawCaret, showGate;
    double position;
    bool drawn;
};

class CaretTest : public GateTest, public ::testing::WithParamInterface<CaretCase> {};

TEST_P(CaretTest, CaretOneAppearsOnlyStrictlyInsideTheWindow) {
    const CaretCase& c = GetParam();
    set("fAscanDelay", 10.0);
    set("fAscanRange", 80.0);
    set("ShowGateA", c.showGate);
    set("DrawCaratOne", c.drawCaret);
    set("fCaretOne", c.position);
    redraw();
    const auto red = opsOfColor(kCaret);
    if (!c.drawn) {
        EXPECT_TRUE(red.empty());
        return;
    }
    // k = 1, 16, 31, ... up to H/40: three strokes each.
    const int depth = static_cast<int>(std::nearbyint(H() / 40));
    const std::size_t rounds = static_cast<std::size_t>((depth - 1) / 15 + 1);
    ASSERT_EQ(red.size(), 3 * rounds);
    const double x = (static_cast<double>(static_cast<float>(c.position)) - 10.0) / 80.0 * W();
    EXPECT_EQ(red[0].kind, SurfaceOpKind::Segment);
    expectLine(red[0], x - 1, 0, x, 1);
    expectLine(red[1], x, 1, x + 1, 0);
    expectLine(red[2], x + 1, 0, x - 1, 0);
    const SurfaceOp& last = red[red.size() - 3];
    const double k = 1 + 15.0 * static_cast<double>(rounds - 1);
    expectLine(last, x - k, 0, x, k);
    EXPECT_LE(k, H() / 40 + 0.5);
}

INSTANTIATE_TEST_SUITE_P(Carets, CaretTest,
                         ::testing::Values(CaretCase{"Inside", true, true, 50.0, true},
                                           CaretCase{"AtTheLeftEdge", true, true, 10.0, false},
                                           CaretCase{"AtTheRightEdge", true, true, 90.0, false},
                                           CaretCase{"JustInsideTheRightEdge", true, true, 89.99, true},
                                           CaretCase{"GateHidden", true, false, 50.0, false},
                                           CaretCase{"CaretOff", false, true, 50.0, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GateTest, CaretTwoNeedsGateB) {
    set("DrawCaratTwo", true);
    set("fCaretTwo", 50.0);
    redraw();
    EXPECT_TRUE(opsOfColor(kCaret).empty());
    set("ShowGateB", true);
    redraw();
    ASSERT_FALSE(opsOfColor(kCaret).empty());
    EXPECT_DOUBLE_EQ(opsOfColor(kCaret)[0].x2, W() / 2);
}

struct GridCase {
    int type;
    std::size_t segments;
};

class GraticuleTest : public AscanControlTest, public ::testing::WithParamInterface<GridCase> {};

TEST_P(GraticuleTest, DrawsItsStyleAndNothingForUnknownOnes) {
    set("iGridType", GetParam().type);
    redraw();
    const auto grid = ops(SurfaceOpKind::Segment, kGraticule);
    EXPECT_EQ(grid.size(), GetParam().segments);
    EXPECT_EQ(get("iGridType").toInt(), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Styles, GraticuleTest,
                         ::testing::Values(GridCase{0, 0}, GridCase{1, 12}, GridCase{2, 30}, GridCase{3, 6},
                                           GridCase{7, 0}, GridCase{-1, 0}),
                         [](const auto& info) {
                             return pelix::testing::caseName("GridType", info.param.type);
                         });

TEST_F(AscanControlTest, GraticuleTicksTakeTheirLengthFromTheHeight) {
    set("iGridType", OroAscanCtl::EDGE_AND_TICS);
    redraw();
    const auto grid = ops(SurfaceOpKind::Segment, kGraticule);
    ASSERT_EQ(grid.size(), 30U);
    const double d = H() / 20;
    // First row: left tick, right tick, top tick, bottom tick.
    expectLine(grid[0], 0, H() / 4, d, H() / 4);
    expectLine(grid[1], W() - d, H() / 4, W(), H() / 4);
    expectLine(grid[2], W() / 4, 0, W() / 4, d);
    expectLine(grid[3], W() / 4, H(), W() / 4, H() - d);
    // The crosses follow the edge ticks.
    expectLine(grid[12], W() / 4 - d, H() / 4, W() / 4 + d, H() / 4);
    expectLine(grid[13], W() / 4, H() / 4 - d, W() / 4, H() / 4 + d);
    set("iGridType", OroAscanCtl::FULL_GRID);
    redraw();
    const auto full = ops(SurfaceOpKind::Segment, kGraticule);
    expectLine(full[0], 0, H() / 4, W(), H() / 4);
    expectLine(full[1], W() / 4, 0, W() / 4, H());
}

} // namespace
