#include <gtest/gtest.h>

#include <cmath>

#include "readings/geometry_cache.h"
#include "readings_fixture.h"

namespace pelix::cal::readings {
namespace {

Setup angleBeam(int32_t angle_01deg, int32_t thickness_um, int32_t outerDiameter_um = 0) {
    Setup s;
    s.prbAngle_01deg = angle_01deg;
    s.trigThk_um = thickness_um;
    s.oDiameter_um = outerDiameter_um;
    return s;
}

TEST(ReadingsFlatGeometryTest, SecondLegFoldsBackFromTheBackWall) {
    auto s = angleBeam(450, 10000);
    s.probeXValue_um = 1000;
    const GeometryCache c = computeGeometry(s, 20000);
    ASSERT_TRUE(c.valid);
    EXPECT_EQ(c.leg, 2);
    EXPECT_EQ(c.projection_um, 14142);
    EXPECT_EQ(c.reducedProjection_um, 13142);
    EXPECT_EQ(c.depth_um, 10000 - (14142 - 10000));
}

TEST(ReadingsFlatGeometryTest, SteepBeamOnAPipeIsTreatedAsFlat) {
    for (int32_t angle : {890, 895}) {
        const GeometryCache pipe = computeGeometry(angleBeam(angle, 10000, 200000), 20000);
        const GeometryCache flat = computeGeometry(angleBeam(angle, 10000), 20000);
        EXPECT_EQ(pipe.depth_um, flat.depth_um) << angle;
        EXPECT_EQ(pipe.projection_um, flat.projection_um) << angle;
        EXPECT_EQ(pipe.leg, flat.leg) << angle;
    }
}

TEST(ReadingsFlatGeometryTest, NoLegLengthMeansNoGeometry) {
    EXPECT_FALSE(computeGeometry(angleBeam(900, 10000), 20000).valid);
    EXPECT_FALSE(computeGeometry(angleBeam(900, 10000, 200000), 20000).valid);
    EXPECT_FALSE(computeGeometry(angleBeam(450, 0), 20000).valid);
    EXPECT_TRUE(computeGeometry(angleBeam(450, 0), 20000).computed);
}

// Where the beam from the outside of a pipe meets a point u along its current
// chord, in exact geometry: distance from the axis and the angle round the axis.
struct PipePoint {
    double depth;
    double arc;
};

PipePoint exactPipePoint(double outer, double angle_deg, double u) {
    const double theta = angle_deg * M_PI / 180;
    const double d = std::sqrt(outer * outer + u * u - 2 * outer * u * std::cos(theta));
    return {outer - d, outer * std::asin(u * std::sin(theta) / d)};
}

TEST(ReadingsPipeGeometryTest, BeamReachingTheInnerWall) {
    // R = 50 mm, wall 10 mm, 30 degrees: the leg to the inner wall is about 12.076 mm.
    const auto s = angleBeam(300, 10000, 100000);
    const double legLength = 50000 * std::cos(M_PI / 6) - std::sqrt(40000.0 * 40000 - 25000.0 * 25000);

    const GeometryCache first = computeGeometry(s, 6000);
    ASSERT_TRUE(first.valid);
    EXPECT_EQ(first.leg, 1);
    const PipePoint p = exactPipePoint(50000, 30, 6000);
    EXPECT_NEAR(first.depth_um, p.depth, 3);
    EXPECT_NEAR(first.projection_um, p.arc, 3);

    // On the way back out the path mirrors the first leg.
    const GeometryCache second = computeGeometry(s, static_cast<int64_t>(2 * legLength) - 6000);
    ASSERT_TRUE(second.valid);
    EXPECT_EQ(second.leg, 2);
    EXPECT_NEAR(second.depth_um, first.depth_um, 3);
    const PipePoint turn = exactPipePoint(50000, 30, legLength);
    // The arc per leg comes from a table angle in tenths of a degree.
    EXPECT_NEAR(second.projection_um, 2 * turn.arc - p.arc, 100);
}

TEST(ReadingsPipeGeometryTest, BeamMissingTheInnerWallCrossesAChord) {
    // R = 50 mm, inner radius 10 mm: a 45 degree beam passes the bore.
    const auto s = angleBeam(450, 40000, 100000);
    const GeometryCache c = computeGeometry(s, 20000);
    ASSERT_TRUE(c.valid);
    EXPECT_EQ(c.leg, 1);
    const double d = std::sqrt(50000.0 * 50000 + 20000.0 * 20000 - 2 * 50000.0 * 20000 * std::cos(M_PI / 4));
    EXPECT_NEAR(c.depth_um, 50000 - d, 3);
    const double centralAngle = std::acos((50000.0 * 50000 + d * d - 20000.0 * 20000) / (2 * 50000 * d));
    EXPECT_NEAR(c.projection_um, 50000 * centralAngle, 3);
}

TEST(ReadingsPipeGeometryTest, OutsideTheModel) {
    // Wall thicker than the radius, a radius of zero, a negative diameter.
    EXPECT_FALSE(computeGeometry(angleBeam(450, 60000, 100000), 20000).valid);
    EXPECT_FALSE(computeGeometry(angleBeam(450, 0, 1), 20000).valid);
    EXPECT_FALSE(computeGeometry(angleBeam(450, -60000, -100000), 20000).valid);
    // Beyond ten legs, or further than 1.1 times round the pipe.
    const auto s = angleBeam(450, 40000, 100000);
    EXPECT_FALSE(computeGeometry(s, 11 * 70710 + 100).valid);
    EXPECT_FALSE(computeGeometry(angleBeam(100, 40000, 100000), 400000).valid);
}

constexpr int32_t kDA = 6, kPA = 7, kLA = 9, kDB = 10, kLB = 13;

class ReadingsGeometryReadingTest : public testing::ReadingsTest {
  protected:
    void SetUp() override {
        ReadingsTest::SetUp();
        // 20000 um of sound path at 59200: 2 * 20000 / 5.92 ns = 6756.75 ns ~ 2703 ticks.
        header.word(testing::rh::Velocity, 59200)
            .word(testing::rh::PrbAngle, 450)
            .word(testing::rh::TrigThk, 10000)
            .codes({kDA, kPA, kLA, kDB, kLB});
        frame.gates(true, true);
    }
};

TEST_F(ReadingsGeometryReadingTest, DepthAndLegOfASecondLegEcho) {
    load();
    gates(testing::echo(2703), testing::echo(2703));
    EXPECT_EQ(slot(0), (testing::Shown{"5.86mm", 1}));
    EXPECT_EQ(slot(1), (testing::Shown{"14.14mm", 1}));
    EXPECT_EQ(slot(2), (testing::Shown{"2", 1}));
    EXPECT_EQ(slot(4), (testing::Shown{"2", 1}));
}

TEST_F(ReadingsGeometryReadingTest, ComputedOnceAndHeldUntilTheNextSetup) {
    load();
    gates(testing::echo(2703));
    EXPECT_EQ(slot(2), (testing::Shown{"2", 1}));
    gates(testing::echo(1000));
    EXPECT_EQ(slot(2), (testing::Shown{"2", 1}));
    gates(testing::noEcho());
    EXPECT_EQ(slot(2), (testing::Shown{"2", 0}));
    load();
    gates(testing::echo(1000));
    EXPECT_EQ(slot(2), (testing::Shown{"1", 1}));
}

TEST_F(ReadingsGeometryReadingTest, NoValueWithoutAngleGateOrGateA) {
    header.word(testing::rh::PrbAngle, 0);
    load();
    gates(testing::echo(2703));
    EXPECT_EQ(slot(0), (testing::Shown{"-----", 1}));

    header.word(testing::rh::PrbAngle, 450).word(testing::rh::GateBRelative, 1);
    load();
    gates(testing::echo(2703, 4), testing::echo(100));
    EXPECT_EQ(slot(3), (testing::Shown{"-----", 1}));
    EXPECT_EQ(slot(4), (testing::Shown{"-----", 1}));
}

} // namespace
} // namespace pelix::cal::readings
