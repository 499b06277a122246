// The trace on the operation list: rectified polylines and bars, RF columns.
#include "ascan_fixture.h"

using namespace pelix::ascanview;

namespace {

using ascan_colors::kEnvelope;
using ascan_colors::kTrace;

class TraceTest : public AscanControlTest {};

TEST_F(TraceTest, RectifiedHollowRunsFromOnePixelToTheLastColumnOnTheBottomEdge) {
    setSamples(QList<qint16>(1601, 0), 800);
    redraw();
    const auto line = ops(SurfaceOpKind::LineTo, kTrace);
    ASSERT_EQ(line.size(), 799U);
    EXPECT_DOUBLE_EQ(line.front().x1, DrawingSurface::kTwipsPerPixel);
    EXPECT_DOUBLE_EQ(line.front().x2, W() / 800);
    EXPECT_DOUBLE_EQ(line.back().x2, 799 * W() / 800);
    for (const SurfaceOp& op : line) {
        EXPECT_DOUBLE_EQ(op.y2, H());
        EXPECT_LT(op.x2, W());
    }
}

TEST_F(TraceTest, RectifiedSampleHeightsArePercentOfTheFullHeight) {
    QList<qint16> samples(1601, 0);
    samples[0] = 50;
    samples[1] = 100;
    samples[2] = 25;
    setSamples(samples, 800);
    redraw();
    const auto line = ops(SurfaceOpKind::LineTo, kTrace);
    ASSERT_GE(line.size(), 2U);
    EXPECT_DOUBLE_EQ(line[0].y1, H() / 2);
    expectLine(line[0], DrawingSurface::kTwipsPerPixel, H() / 2, W() / 800, 0);
    EXPECT_DOUBLE_EQ(line[1].y2, H() - 25 * H() / 100);
}

TEST_F(TraceTest, EnvelopeIsDrawnBeforeTheLiveTraceFromTheUpperHalfOfTheArray) {
    QList<qint16> samples(3201, 0);
    samples[1600 + 1] = 80;
    samples[1] = 40;
    setSamples(samples, 800);
    set("Envelope", 1);
    redraw();
    const auto envelope = ops(SurfaceOpKind::LineTo, kEnvelope);
    const auto live = ops(SurfaceOpKind::LineTo, kTrace);
    ASSERT_EQ(envelope.size(), 799U);
    ASSERT_EQ(live.size(), 799U);
    EXPECT_DOUBLE_EQ(envelope[0].y2, H() - 80 * H() / 100);
    EXPECT_DOUBLE_EQ(live[0].y2, H() - 40 * H() / 100);
    // Envelope first, so the live trace lies on top of it.
    const auto& all = ctl.surface().ops();
    const auto firstEnvelope =
        std::find_if(all.begin(), all.end(), [](const SurfaceOp& op) { return op.color == kEnvelope; });
    const auto firstLive = std::find_if(all.begin(), all.end(), [](const SurfaceOp& op) {
        return op.kind == SurfaceOpKind::LineTo && op.color == kTrace;
    });
    EXPECT_LT(firstEnvelope - all.begin(), firstLive - all.begin());
}

TEST_F(TraceTest, EnvelopeNeedsTheValueOne) {
    setSamples(QList<qint16>(3201, 10), 800);
    set("Envelope", 2);
    redraw();
    EXPECT_TRUE(ops(SurfaceOpKind::LineTo, kEnvelope).empty());
    EXPECT_EQ(ops(SurfaceOpKind::LineTo, kTrace).size(), 799U);
}

TEST_F(TraceTest, SolidBarOfTheFirstSampleSpansOneStepLessOneUnit) {
    QList<qint16> samples(3201, 0);
    samples[0] = 100;
    setSamples(samples, 800);
    set("iAscanDrawMode", OroAscanCtl::SOLID);
    set("Envelope", 1);
    redraw();
    const auto bars = ops(SurfaceOpKind::Box, kTrace);
    ASSERT_EQ(bars.size(), 800U);
    const double step = (W() - 2) / 800;
    expectLine(bars[0], 0, H(), std::nearbyint(step) - 1, 0);
    // The next bar starts where the first step ended; zero samples sit on the bottom edge.
    EXPECT_DOUBLE_EQ(bars[1].x1, step);
    EXPECT_DOUBLE_EQ(bars[1].y2, H());
    EXPECT_TRUE(ops(SurfaceOpKind::LineTo, kEnvelope).empty()) << "no envelope with bars";
}

TEST_F(TraceTest, SolidBarNeverEndsLeftOfItsStart) {
    // With more samples than units across, the rounded end falls behind the start.
    set("WidthX", 1000);
    QList<qint16> samples(1601, 10);
    setSamples(samples, 800);
    set("iAscanDrawMode", OroAscanCtl::SOLID);
    redraw();
    for (const SurfaceOp& bar : ops(SurfaceOpKind::Box, kTrace))
        EXPECT_GE(bar.x2, bar.x1);
}

// One RF column: upper peak P in the first half, lower peak M in the second.
struct RfColumnCase {
    const char* name;
    qint16 previousP, previousM; // column 9, which leaves the pen where column 10 starts
    qint16 p, m;                 // column 10
    std::vector<char> visits;    // 'P' upper peak, 'M' lower peak, '0' zero line
};

class RfColumnTest : public AscanControlTest, public ::testing::WithParamInterface<RfColumnCase> {};

TEST_P(RfColumnTest, VisitsThePeaksItShould) {
    const RfColumnCase& c = GetParam();
    QList<qint16> samples(1601, 0);
    samples[9] = c.previousP;
    samples[800 + 9] = c.previousM;
    samples[10] = c.p;
    samples[800 + 10] = c.m;
    setSamples(samples, 1600);
    set("iAscanRectMode", OroAscanCtl::RF);
    redraw();
    const double x = 10 * W() / 800;
    std::vector<double> ys;
    for (const SurfaceOp& op : ops(SurfaceOpKind::LineTo, kTrace))
        if (op.x2 == x) ys.push_back(op.y2);
    std::vector<double> expected;
    for (char v : c.visits)
        expected.push_back(v == 'P'   ? H() / 2 - c.p * H() / 200
                           : v == 'M' ? H() / 2 + c.m * H() / 200
                                      : H() / 2);
    ASSERT_EQ(ys.size(), expected.size());
    for (std::size_t i = 0; i < ys.size(); ++i)
        EXPECT_DOUBLE_EQ(ys[i], expected[i]) << i;
}

INSTANTIATE_TEST_SUITE_P(
    Columns, RfColumnTest,
    ::testing::Values(RfColumnCase{"UpperOnly", 0, 0, 50, 1, {'P'}},
                      RfColumnCase{"BothNoise", 0, 0, 1, 1, {'0'}},
                      RfColumnCase{"LowerOnly", 0, 0, 1, 40, {'M'}},
                      RfColumnCase{"BothFromAbove", 0, 0, 30, 40, {'P', 'M'}},
                      RfColumnCase{"BothFromBelow", 0, 60, 30, 40, {'M', 'P'}},
                      // 2 is not noise and not a peak either: it falls through to the two-peak stroke.
                      RfColumnCase{"LowerExactlyTwo", 0, 0, 0, 2, {'P', 'M'}},
                      RfColumnCase{"UpperExactlyTwo", 0, 0, 2, 0, {'P', 'M'}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TraceTest, RfStartsOnePixelInAtTheFirstColumnsHeight) {
    QList<qint16> samples(1601, 0);
    samples[0] = 10;
    samples[800] = 20;
    setSamples(samples, 1600);
    set("iAscanRectMode", OroAscanCtl::RF);
    redraw();
    const auto line = ops(SurfaceOpKind::LineTo, kTrace);
    ASSERT_FALSE(line.empty());
    // P < M: the pen starts at the lower peak.
    EXPECT_DOUBLE_EQ(line[0].x1, DrawingSurface::kTwipsPerPixel);
    EXPECT_DOUBLE_EQ(line[0].y1, H() / 2 + 20 * H() / 200);
    EXPECT_DOUBLE_EQ(line[0].x2, 0);
    EXPECT_DOUBLE_EQ(line.back().x2, 799 * W() / 800);
}

TEST_F(TraceTest, RfIgnoresTheSolidStyleAndUsesTheForegroundColour) {
    setSamples(QList<qint16>(3201, 0), 1600);
    set("iAscanRectMode", OroAscanCtl::RF);
    set("iAscanDrawMode", OroAscanCtl::SOLID);
    set("Envelope", 1);
    redraw();
    EXPECT_TRUE(ops(SurfaceOpKind::Box, kTrace).empty());
    EXPECT_EQ(ops(SurfaceOpKind::LineTo, DrawingSurface::kWindowText).size(), 800U);
    EXPECT_EQ(ops(SurfaceOpKind::LineTo, kEnvelope).size(), 800U);
}

TEST_F(TraceTest, AShortSampleArrayLeavesTheTraceUndrawnAndTheRestOfThePicture) {
    setSamples(QList<qint16>(100, 20), 800);
    set("Envelope", 1);
    set("ShowGateA", true);
    set("fGateAStart", 10.0);
    set("fGateAWidth", 10.0);
    set("iGridType", OroAscanCtl::FULL_GRID);
    redraw();
    EXPECT_TRUE(ops(SurfaceOpKind::LineTo, kTrace).empty());
    EXPECT_TRUE(ops(SurfaceOpKind::LineTo, kEnvelope).empty());
    EXPECT_EQ(ops(SurfaceOpKind::Segment, ascan_colors::kGraticule).size(), 6U);
    EXPECT_FALSE(ops(SurfaceOpKind::Segment, ascan_colors::kGateA).empty());
}

TEST_F(TraceTest, NoPointsDrawsNoTraceInAnyStyle) {
    setSamples(QList<qint16>(1601, 20), 0);
    for (int mode : {0, 1}) {
        for (int fill : {0, 1}) {
            set("iAscanRectMode", mode);
            set("iAscanDrawMode", fill);
            redraw();
            EXPECT_TRUE(ops(SurfaceOpKind::LineTo, kTrace).empty());
            EXPECT_TRUE(ops(SurfaceOpKind::Box, kTrace).empty());
        }
    }
}

TEST_F(TraceTest, NegativePointCountIsHarmless) {
    setSamples(QList<qint16>(1601, 20), -5);
    for (int mode : {0, 1}) {
        set("iAscanRectMode", mode);
        redraw();
        EXPECT_TRUE(ops(SurfaceOpKind::LineTo, kTrace).empty());
    }
}

} // namespace
