// Angle-beam leg colouring: the integer trigonometry, the leg geometry and
// where the three bands fall on the picture.
#include "ascan_fixture.h"

#include "ascanview/legs/fast_trig.h"
#include "ascanview/legs/leg_bands.h"
#include "ascanview/legs/leg_geometry.h"
#include "ascanview/legs/sine_table.h"

#include <limits>

using namespace pelix::ascanview;

namespace {

constexpr Rgb kYellow = rgb(255, 255, 0);
constexpr Rgb kButtonFace = rgb(240, 240, 240);
constexpr Rgb kCyan = rgb(0, 255, 255);

TEST(SineTable, HoldsTheInstrumentsRoundedValues) {
    const auto& s = sineTable();
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(s[1], 458);
    EXPECT_EQ(s[2], 915);
    EXPECT_EQ(s[10], 4575);
    EXPECT_EQ(s[300], 131072);
    EXPECT_EQ(s[900], 262144);
    for (std::size_t k = 1; k < s.size(); ++k)
        EXPECT_GE(s[k], s[k - 1]) << k;
    EXPECT_EQ(s[899], 262144) << "the top of the table is flat";
}

TEST(FastSine, FoldsEveryAngleIntoTheQuarterWave) {
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {300, 131072},
        {2100, -131072},
        {-300, -131072},
        {900, 262144},
        {1800, 0},
        {3600, 0},
        {1500, 131072},
        {3300, -131072},
        {2700, -262144},
        {-3600, 0},
        {7500, 131072},
        {0, 0},
        {std::numeric_limits<std::int32_t>::min(),
         fastSin4Q(std::numeric_limits<std::int32_t>::min() % 3600 + 3600)},
    };
    for (const auto& [angle, sine] : cases)
        EXPECT_EQ(fastSin4Q(angle), sine) << angle;
}

TEST(FastArcsine, FindsTheNearestTableEntryWithTheSign) {
    const std::pair<std::int32_t, std::int16_t> cases[] = {
        {131072, 300}, {4576, 10}, {262144, 900}, {0, 0}, {-131072, -300}, {458, 1}, {1, 0}, {262143, 898},
    };
    for (const auto& [value, angle] : cases) {
        std::int32_t argument = value;
        EXPECT_EQ(fastAsin4Q(argument), angle) << value;
        EXPECT_EQ(argument, value < 0 ? -value : value) << "the argument is replaced by its absolute value";
    }
}

TEST(FastArcsine, HalfwayBetweenTwoEntriesGivesTheLowerAngle) {
    const auto& s = sineTable();
    int found = 0;
    for (std::size_t k = 0; k + 1 < s.size() && found < 20; ++k) {
        if ((s[k] + s[k + 1]) % 2 != 0) continue;
        std::int32_t midpoint = (s[k] + s[k + 1]) / 2;
        EXPECT_EQ(fastAsin4Q(midpoint), static_cast<std::int16_t>(k));
        ++found;
    }
    EXPECT_GT(found, 0);
}

TEST(FastArcsine, ValuesBeyondOneHaveNoAngle) {
    for (std::int32_t value : {262145, -262145, std::numeric_limits<std::int32_t>::max(),
                               std::numeric_limits<std::int32_t>::min()}) {
        std::int32_t argument = value;
        EXPECT_FALSE(fastAsin4Q(argument).has_value()) << value;
    }
}

LegSetup pipe(std::int32_t diameter, double thickness, std::int32_t angle) {
    LegSetup setup;
    setup.trigColorLeg = 1;
    setup.oDiameter = diameter;
    setup.trigThk = thickness;
    setup.prbAngle = angle;
    return setup;
}

TEST(LegGeometry, CurvatureCases) {
    EXPECT_EQ(trigCurvatureCase(pipe(0, 1000, 450)), 0);     // flat: no radius
    EXPECT_EQ(trigCurvatureCase(pipe(1000, 600, 450)), 0);   // wall thicker than the radius
    EXPECT_EQ(trigCurvatureCase(pipe(10000, 1000, 450)), 1); // critical angle 53.1 deg
    EXPECT_EQ(trigCurvatureCase(pipe(10000, 1000, 600)), 2);
    EXPECT_EQ(trigCurvatureCase(pipe(10000, 4950, 100)), 2); // inner radius under 1.8 % of the outer
    EXPECT_EQ(trigCurvatureCase(pipe(10000, 5000, 100)), 2); // no inner radius
}

TEST(LegGeometry, InnerRadiusTooLargeForThirtyTwoBitsIsAnOverflowNotAWrongCase) {
    // r = R - thickness; r * 2^18 leaves the 32-bit range from r = 8192 on.
    EXPECT_TRUE(trigCurvatureCase(pipe(2 * (8191 + 2000), 2000, 450)).has_value());
    EXPECT_FALSE(trigCurvatureCase(pipe(2 * (8192 + 2000), 2000, 450)).has_value());
    EXPECT_FALSE(trigLegLength(pipe(2 * (8192 + 2000), 2000, 450)).has_value());
}

TEST(LegGeometry, LegLengths) {
    LegSetup flat = pipe(0, 12000, 600);
    EXPECT_DOUBLE_EQ(*trigLegLength(flat), 24000); // twice the thickness at 60 deg
    flat.prbAngle = 0;
    EXPECT_DOUBLE_EQ(*trigLegLength(flat), 12000);
    flat.prbAngle = 900; // grazing: the cosine is 0
    EXPECT_FALSE(trigLegLength(flat).has_value());
    flat.prbAngle = -10; // outside the table
    EXPECT_FALSE(trigLegLength(flat).has_value());

    const double cos45 = sineTable()[450] / 262144.0;
    const double sin45 = cos45;
    EXPECT_NEAR(*trigLegLength(pipe(10000, 1000, 450)),
                5000 * cos45 - std::sqrt(4000.0 * 4000 - 5000.0 * 5000 * sin45 * sin45), 1e-9);
    EXPECT_DOUBLE_EQ(*trigLegLength(pipe(10000, 1000, 600)), 5000); // chord 2 R cos 60
}

LegSetup flatPlate() {
    LegSetup setup = pipe(0, 10000, 450);
    setup.velocity = 32300;
    setup.displayRange = 100;
    return setup;
}

TEST(LegBands, WantedOnlyWithColouringOnAndAUsableAngle) {
    LegSetup setup = flatPlate();
    EXPECT_TRUE(legBandsWanted(setup));
    setup.trigColorLeg = 2;
    EXPECT_FALSE(legBandsWanted(setup));
    setup = flatPlate();
    setup.prbAngle = 0;
    EXPECT_FALSE(legBandsWanted(setup));
    setup = pipe(100000, 1000, 889);
    EXPECT_TRUE(legBandsWanted(setup));
    setup.prbAngle = 890;
    EXPECT_FALSE(legBandsWanted(setup));
}

TEST(LegBands, EdgesFollowTheLegTimeInTheWindow) {
    const LegSetup setup = flatPlate();
    const auto edges = legEdges(setup, 3000);
    ASSERT_TRUE(edges.has_value());
    const double leg = 10000 * 262144.0 / sineTable()[450] * 4000 / 32300;
    const double span = 100 * 1000 * 4400 / 32300.0;
    for (std::size_t k = 0; k < 4; ++k)
        EXPECT_EQ((*edges)[k], static_cast<int>(std::nearbyint(static_cast<double>(k) * leg * 3000 / span)))
            << k;
}

TEST(LegBands, EdgesOutsideTheWindowCollapseOntoItsEdges) {
    LegSetup before = flatPlate();
    before.displayDelay = 300; // window starts after the third leg
    EXPECT_EQ(legEdges(before, 3000), (std::array<std::int32_t, 4>{0, 0, 0, 0}));
    LegSetup after = flatPlate();
    after.displayRange = 1; // window ends before the first leg does
    const auto edges = legEdges(after, 3000);
    ASSERT_TRUE(edges.has_value());
    EXPECT_EQ((*edges)[0], 0);
    EXPECT_EQ((*edges)[1], 3000);
    EXPECT_EQ((*edges)[3], 3000);
}

TEST(LegBands, DisplayDelayIsTakenBackHalfAStepTowardsZero) {
    LegSetup setup = flatPlate();
    setup.displayDelay = 10;
    setup.probeDelay = 0;
    const auto edges = legEdges(setup, 3000);
    ASSERT_TRUE(edges.has_value());
    const double start = ((10 - 0.005) * 1000 * 20000 / 32300 + 15000) / 5;
    const double span = 100 * 1000 * 4400 / 32300.0;
    const double leg = 10000 * 262144.0 / sineTable()[450] * 4000 / 32300;
    EXPECT_EQ((*edges)[1], static_cast<int>(std::nearbyint((3000 + leg - start) * 3000 / span)));
    setup.inch = true;
    setup.displayDelay = 0.5;
    setup.displayRange = 4;
    const double inchStart = ((0.5 - 0.0005) * 25400 * 20000 / 32300 + 15000) / 5;
    const double inchSpan = 4 * 25400 * 4400 / 32300.0;
    EXPECT_EQ((*legEdges(setup, 3000))[2],
              static_cast<int>(std::nearbyint((3000 + 2 * leg - inchStart) * 3000 / inchSpan)));
}

TEST(LegBands, ZeroVelocityOrSpanPaintsNothing) {
    LegSetup setup = flatPlate();
    setup.velocity = 0;
    EXPECT_FALSE(legEdges(setup, 3000).has_value());
    setup = flatPlate();
    setup.displayRange = 0;
    EXPECT_FALSE(legEdges(setup, 3000).has_value());
}

class LegControlTest : public AscanControlTest {
  protected:
    void SetUp() override {
        AscanControlTest::SetUp();
        set("TrigColorLeg", 1);
        set("PrbAngle", 450);
        set("TrigThk", 10000.0);
        set("ttVelocity", 32300.0);
        set("Velocity", 3230.0); // m/s, as the player hands it over
        set("DisplayRange", 100.0);
        set("iGridType", OroAscanCtl::FULL_GRID);
    }
    std::vector<SurfaceOp> boxes() const {
        std::vector<SurfaceOp> found;
        for (const SurfaceOp& op : ctl.surface().ops())
            if (op.kind == SurfaceOpKind::Box) found.push_back(op);
        return found;
    }
};

TEST_F(LegControlTest, ThreeFullHeightBandsUnderTheGraticule) {
    redraw();
    const auto bands = boxes();
    ASSERT_EQ(bands.size(), 3U);
    EXPECT_EQ(bands[0].color, kYellow);
    EXPECT_EQ(bands[1].color, kButtonFace);
    EXPECT_EQ(bands[2].color, kCyan);
    LegSetup setup = flatPlate();
    const auto edges = *legEdges(setup, W());
    for (std::size_t k = 0; k < 3; ++k)
        expectLine(bands[k], edges[k], H(), edges[k + 1], 0);
    // Bands come first after the clear, so everything else lies on top.
    EXPECT_EQ(ctl.surface().ops()[1].kind, SurfaceOpKind::Box);
    EXPECT_EQ(get("Velocity").toDouble(), 3230.0) << "the host's velocity is kept as written";
}

TEST_F(LegControlTest, NoBandsForAFlatPartWithoutAngleOrAnOverflowingPipe) {
    set("PrbAngle", 0);
    redraw();
    EXPECT_TRUE(boxes().empty());
    set("PrbAngle", 450);
    set("ODiameter", 2 * 9000);
    set("TrigThk", 500.0);
    redraw();
    EXPECT_TRUE(boxes().empty());
    EXPECT_EQ(ops(SurfaceOpKind::Segment, ascan_colors::kGraticule).size(), 6U) << "the rest is still drawn";
}

TEST_F(LegControlTest, MethodsByName) {
    double length = 0;
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "TrigLegLength", Q_RETURN_ARG(double, length)));
    EXPECT_NEAR(length, 10000 * 262144.0 / sineTable()[450], 1e-9);
    set("ODiameter", 10000);
    set("TrigThk", 1000.0);
    qint16 curvature = -1;
    ASSERT_TRUE(QMetaObject::invokeMethod(&ctl, "TrigCurvatureCase", Q_RETURN_ARG(qint16, curvature)));
    EXPECT_EQ(curvature, 1);
    qint32 value = -131072;
    EXPECT_EQ(ctl.FASTAsin4Q(&value), -300);
    EXPECT_EQ(value, 131072);
}

} // namespace
