// The DGS exports driven as the display control drives them, through the parameter block.
#include "cal/dgs/dgs_internal.h"
#include <pelix_cal.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <string>

namespace {

using namespace pelix::cal::dgs;

constexpr int32_t kNone = PELIX_DGS_NOT_FOUND;

struct Block {
    std::array<int32_t, PELIX_DGS_BLOCK_WORDS> words{};
    int32_t& operator[](int byteOffset) { return words[byteOffset / 4]; }
    int32_t* data() { return words.data(); }
};

// A straight-beam setup on steel: 2 MHz, 24 mm, delay path 2500 m/s, 1 us probe delay,
// referenced on a back wall at 100 mm seen at 80 % with 30 dB.
Block steelSetup(int32_t probeIndex = 1) {
    Block b;
    b[PELIX_DGS_PROBE_DELAY] = 1000;
    b[PELIX_DGS_VELOCITY] = 59200;
    b[PELIX_DGS_PROBE_NUM] = probeIndex;
    b[PELIX_DGS_ERS] = 2000;
    b[PELIX_DGS_XTAL_FREQ] = 200;
    b[PELIX_DGS_EFFE_DIAM] = 24000;
    b[PELIX_DGS_DELAY_VEL] = 25000;
    b[PELIX_DGS_REF_TYPE] = 1;
    b[PELIX_DGS_REF_DIST] = 100000;
    b[PELIX_DGS_REF_AMP] = 800;
    b[PELIX_DGS_REF_GAIN] = 300;
    b[PELIX_DGS_BASE_GAIN] = 400;
    return b;
}

class DgsExports : public ::testing::Test {
  protected:
    void SetUp() override { resetState(); }
    void TearDown() override { resetState(); }

    // The control's sequence for one stretch of the curve.
    int32_t draw(Block& b) {
        points.fill(DGSPoint{0, 0, 0});
        const int32_t count = CVDGSNumOfERSCurvePoints(b.data(), points.data());
        if (count == 0) return 0;
        CVDGSCalculateNearFields(b.data());
        DGSEvaluateReference(b.data());
        return CVDGSConvertDGStoDAC(b.data(), points.data());
    }

    void expectNoCurve(Block& b, const std::string& what) {
        EXPECT_EQ(draw(b), 0) << what;
        EXPECT_EQ(b[PELIX_DGS_NUM_POINTS], 0) << what;
        for (const DGSPoint& p : points) {
            EXPECT_TRUE(p.slTOF == 0 && p.slAmp == 0 && p.slGain == 0) << what;
        }
        EXPECT_EQ(CVDGSFindEarlierTOFPoint(0, b.data(), points.data()), kNone) << what;
        EXPECT_EQ(CVDGSFindLaterTOFPoint(-1, b.data(), points.data()), kNone) << what;
        const State& s = state();
        EXPECT_TRUE(std::isfinite(s.nearField_mm) && s.nearField_mm > 0) << what;
        EXPECT_TRUE(std::isfinite(s.delayAllowance_mm) && std::isfinite(s.referenceCorrection_dB)) << what;
        double value = 0;
        EXPECT_FALSE(ersCurveValue(1.0, value)) << what;
    }

    std::array<DGSPoint, PELIX_DGS_MAX_POINTS> points{};
};

TEST_F(DgsExports, NearFieldByProbeType) {
    const struct {
        int32_t probe;
        double nearField, allowance;
    } cases[] = {
        // 2 MHz, 24 mm on steel: (200e4 * 24000^2) / (59200 * 4e5) = 48648 um; the 1.25 mm delay
        // path at 2500 m/s stands for 1250 * 48648 / 115200 = 527 um of steel
        {1, 48.648, 0.527},
        {35, 18.1, 10.13}, // measured by the maker
        {25, 1.0, 0.0},    // own diagram in mm
    };
    for (const auto& c : cases) {
        Block b = steelSetup(c.probe);
        CVDGSCalculateNearFields(b.data());
        EXPECT_DOUBLE_EQ(state().nearField_mm, c.nearField) << c.probe;
        EXPECT_DOUBLE_EQ(state().delayAllowance_mm, c.allowance) << c.probe;
    }
}

TEST_F(DgsExports, UnsoundSetupsDrawNoCurve) {
    const struct {
        const char* what;
        int offset;
        int32_t value;
    } cases[] = {
        {"probe below the catalogue", PELIX_DGS_PROBE_NUM, -1},
        {"probe beyond the catalogue", PELIX_DGS_PROBE_NUM, 41},
        {"zero velocity", PELIX_DGS_VELOCITY, 0},
        {"negative velocity", PELIX_DGS_VELOCITY, -59200},
        {"zero delay velocity", PELIX_DGS_DELAY_VEL, 0},
        {"zero frequency", PELIX_DGS_XTAL_FREQ, 0},
        {"zero diameter", PELIX_DGS_EFFE_DIAM, 0},
        {"negative diameter", PELIX_DGS_EFFE_DIAM, -24000},
        {"near field beyond 64 bits", PELIX_DGS_XTAL_FREQ, 2000000000},
        {"no reference echo", PELIX_DGS_REF_AMP, 0},
        {"negative reference echo", PELIX_DGS_REF_AMP, -10},
    };
    for (const auto& c : cases) {
        resetState();
        Block b = steelSetup();
        if (c.offset == PELIX_DGS_XTAL_FREQ && c.value == 2000000000) b[PELIX_DGS_EFFE_DIAM] = 2000000000;
        b[c.offset] = c.value;
        expectNoCurve(b, c.what);
    }
}

TEST_F(DgsExports, ProbeOutsideTheCatalogueFindsNothing) {
    for (int32_t index : {-1, 41, 1000000}) {
        Block b = steelSetup(index);
        b[PELIX_DGS_CONVERT] = 1;
        points.fill(DGSPoint{7, 7, 7});
        EXPECT_EQ(CVDGSNumOfERSCurvePoints(b.data(), points.data()), 0);
        EXPECT_EQ(points[0].slTOF, 0);
        EXPECT_EQ(points[39].slGain, 0);
        points[1].slTOF = 100;
        b[PELIX_DGS_NUM_POINTS] = 2;
        EXPECT_EQ(CVDGSFindEarlierTOFPoint(50, b.data(), points.data()), kNone);
        EXPECT_EQ(CVDGSFindLaterTOFPoint(-5, b.data(), points.data()), kNone);
        DGSEvaluateReference(b.data());
        EXPECT_EQ(b[PELIX_DGS_REF_STATUS], 0);
    }
}

TEST_F(DgsExports, ReferenceCorrectionFromABackWallEcho) {
    Block b = steelSetup();
    b[PELIX_DGS_AMPL_CORR] = 15;
    b[PELIX_DGS_REF_ATTEN] = 100; // 10 dB/m over 2 x 100 mm: 2 dB
    DGSEvaluateReference(b.data());
    EXPECT_EQ(b[PELIX_DGS_REF_STATUS], 1);
    bool clamped = false;
    const double x = (0.527 + 100.0) / 48.648;
    const double wall = lookupRow(generalDiagram(), 0, x, clamped);
    EXPECT_NEAR(state().referenceCurveValue, wall, 1e-12);
    EXPECT_NEAR(state().referenceCorrection_dB, 1.5 + 30.0 - 2.0 - wall, 1e-9);

    // the reference echo at 40 % instead of 80 %: 6 dB more correction
    Block half = steelSetup();
    half[PELIX_DGS_REF_AMP] = 400;
    DGSEvaluateReference(half.data());
    EXPECT_NEAR(state().referenceCorrection_dB, 30.0 - wall + 20 * std::log10(2.0), 1e-9);
}

TEST_F(DgsExports, DoubtfulReferenceIsStillEvaluated) {
    for (int32_t amp : {50, 1010}) { // 5 % and 101 % of screen height
        Block b = steelSetup();
        b[PELIX_DGS_REF_AMP] = amp;
        DGSEvaluateReference(b.data());
        EXPECT_EQ(b[PELIX_DGS_REF_STATUS], 1) << amp;
        EXPECT_NE(state().referenceCorrection_dB, 0.0) << amp;
    }
    // a side-drilled hole too small and too close is flagged the same way
    Block hole = steelSetup();
    hole[PELIX_DGS_REF_TYPE] = 2;
    hole[PELIX_DGS_REF_SIZE] = 100;
    hole[PELIX_DGS_REF_DIST] = 10000;
    DGSEvaluateReference(hole.data());
    EXPECT_EQ(hole[PELIX_DGS_REF_STATUS], 1);
}

TEST_F(DgsExports, SideDrilledHoleActsAsItsEquivalentDisc) {
    Block hole = steelSetup();
    hole[PELIX_DGS_REF_TYPE] = 2;
    hole[PELIX_DGS_REF_SIZE] = 3000;
    hole[PELIX_DGS_REF_DIST] = 80000;
    DGSEvaluateReference(hole.data());
    const double holeCurve = state().referenceCurveValue;
    // lambda = 10 * 59200 / 200 = 2960 um; disc diameter (0.2 lambda^2 * 3 * 80)^(1/4) mm
    const double disc = std::pow(0.2 * 2.96 * 2.96 * 3.0 * 80.0, 0.25);
    Curve curve;
    buildCurve(generalDiagram(), disc / 24.0, curve);
    bool clamped = false;
    EXPECT_DOUBLE_EQ(holeCurve, lookupRow(curve.view(), 0, (0.527 + 80.0) / 48.648, clamped));
}

// DGS points of every catalogue probe: times rise, amplitudes follow the gains, and the two
// searches find each stretch again.
TEST_F(DgsExports, EveryCatalogueProbeGivesASearchableCurve) {
    for (int32_t probeIndex = 0; probeIndex < kProbeCount; ++probeIndex) {
        const ProbeCatalogRow& row = *catalogRow(probeIndex);
        Block b = steelSetup(probeIndex);
        b[PELIX_DGS_XTAL_FREQ] = row.frequencyFigure * 10;
        b[PELIX_DGS_EFFE_DIAM] = row.diameterFigure;
        b[PELIX_DGS_DELAY_VEL] = row.velocityFigure;
        b[PELIX_DGS_TEST_ATTEN] = 40;
        const int32_t count = draw(b);
        const std::string name = row.modelName;
        ASSERT_GE(count, 13) << name;
        ASSERT_EQ(count, CVDGSNumOfERSCurvePoints(b.data(), points.data())) << name;
        EXPECT_EQ(b[PELIX_DGS_NUM_POINTS], count);
        for (int32_t i = 0; i < count; ++i) {
            const DGSPoint& p = points[i];
            EXPECT_NE(p.slTOF, 0);
            if (i > 0) {
                EXPECT_GT(p.slTOF, points[i - 1].slTOF) << name << " point " << i;
            }
            EXPECT_EQ(p.slAmp, static_cast<int32_t>(800 * std::pow(10.0, -p.slGain / 200.0))) << name;
            // the conversion's own lookup agrees with the one the readings use
            const double x = ersCurve().distances[i];
            const double depth = state().nearField_mm * x - state().delayAllowance_mm;
            double value = 0;
            ASSERT_TRUE(ersCurveValue(x, value));
            EXPECT_EQ(p.slGain, static_cast<int16_t>(40 * depth * 0.002) +
                                    static_cast<int32_t>(10 * (state().referenceCorrection_dB + value)) - 400)
                << name << " point " << i;
        }
        for (int32_t i = 0; i + 1 < count; ++i) {
            const int32_t t = points[i].slTOF;
            // a point's own time belongs first to the stretch that ends there
            EXPECT_EQ(CVDGSFindEarlierTOFPoint(t, b.data(), points.data()), i == 0 ? 0 : i - 1) << name;
            EXPECT_EQ(CVDGSFindEarlierTOFPoint(t + 1, b.data(), points.data()), i) << name << " " << i;
            if (i + 2 < count) {
                EXPECT_EQ(CVDGSFindLaterTOFPoint(t, b.data(), points.data()), i + 1) << name;
            }
        }
        const int32_t first = points[0].slTOF;
        const int32_t last = points[count - 1].slTOF;
        EXPECT_EQ(CVDGSFindEarlierTOFPoint(first, b.data(), points.data()), 0);
        EXPECT_EQ(CVDGSFindEarlierTOFPoint(last, b.data(), points.data()), count - 2);
        EXPECT_EQ(CVDGSFindEarlierTOFPoint(first - 1, b.data(), points.data()), kNone);
        EXPECT_EQ(CVDGSFindEarlierTOFPoint(last + 1, b.data(), points.data()), kNone);
        EXPECT_EQ(CVDGSFindLaterTOFPoint(first - 1, b.data(), points.data()), 0);
        EXPECT_EQ(CVDGSFindLaterTOFPoint(last - 1, b.data(), points.data()),
                  kNone); // inside the last stretch
    }
}

TEST_F(DgsExports, TimesInsideTheDelayPathAreNegativeAndZeroBecomesOne) {
    Block b = steelSetup(0);
    // delay path of steel's velocity ending exactly at one near field: point 10 (x = 1.0) at 0 ns
    b[PELIX_DGS_DELAY_VEL] = 59200;
    b[PELIX_DGS_PROBE_DELAY] = 16435;
    ASSERT_EQ(draw(b), 23);
    EXPECT_LT(points[0].slTOF, 0);
    EXPECT_LT(points[9].slTOF, 0);
    EXPECT_EQ(points[10].slTOF, 1);
    EXPECT_GT(points[11].slTOF, 1);
}

TEST_F(DgsExports, ErsKeyBeyondTheDiagramTakesItsOuterRows) {
    const struct {
        int32_t ers;
        int row;
    } cases[] = {{48000, 1}, {24000, 1}, {100, 19}, {0, 0}};
    for (const auto& c : cases) {
        Block b = steelSetup();
        b[PELIX_DGS_ERS] = c.ers;
        ASSERT_EQ(CVDGSNumOfERSCurvePoints(b.data(), points.data()), 23) << c.ers;
        for (int i = 0; i < 23; ++i) {
            double value = 0;
            ASSERT_TRUE(ersCurveValue(generalDiagram().distances[i], value));
            EXPECT_NEAR(value, generalDiagram().value(c.row, i), 1e-9) << c.ers;
        }
    }
}

TEST_F(DgsExports, FirstCurveOfAFreshLibraryMayBeTheBackWall) {
    Block b = steelSetup();
    b[PELIX_DGS_ERS] = 0;
    EXPECT_EQ(CVDGSNumOfERSCurvePoints(b.data(), points.data()), 23);
}

TEST_F(DgsExports, KeyEqualToACopiedRowsKeyStillRebuilds) {
    Block b = steelSetup(35); // near field from the catalogue, whatever the diameter
    b[PELIX_DGS_ERS] = 0;     // back wall, kept under the wall's key 2147483647
    ASSERT_EQ(CVDGSNumOfERSCurvePoints(b.data(), points.data()), 23);
    b[PELIX_DGS_ERS] = 2147483647;
    b[PELIX_DGS_EFFE_DIAM] = 1; // the same key, asking for the largest reflector
    ASSERT_EQ(CVDGSNumOfERSCurvePoints(b.data(), points.data()), 23);
    EXPECT_EQ(ersCurve().values[22], generalDiagram().value(1, 22));
}

TEST_F(DgsExports, OwnDiagramProbesTakeTheErsInMillimetres) {
    Block narrow = steelSetup(27);
    narrow[PELIX_DGS_EFFE_DIAM] = 6000;
    Block wide = steelSetup(27);
    wide[PELIX_DGS_EFFE_DIAM] = 40000;
    const int32_t count = draw(narrow);
    const auto first = points;
    ASSERT_EQ(draw(wide), count);
    EXPECT_EQ(std::memcmp(first.data(), points.data(), sizeof points), 0);
    EXPECT_EQ(ersCurve().key, 2.0);
    EXPECT_EQ(ersCurve().columns, probe(27)->ownDiagram->columns);
}

TEST_F(DgsExports, CurveFollowsAChangeOfProbeUnderTheSameKey) {
    Block general = steelSetup(1);
    general[PELIX_DGS_EFFE_DIAM] = 1000; // ERS 2000 um over 1 mm: key 2.0
    Block own = steelSetup(25);          // ERS 2 mm: key 2.0
    ASSERT_EQ(CVDGSNumOfERSCurvePoints(general.data(), points.data()), 23);
    EXPECT_EQ(CVDGSNumOfERSCurvePoints(own.data(), points.data()), probe(25)->ownDiagram->columns);
    EXPECT_EQ(ersCurve().source, probe(25)->ownDiagram);
}

TEST_F(DgsExports, ConversionOnRequestAndAttenuationKeptTo16Bits) {
    Block b = steelSetup();
    b[PELIX_DGS_CONVERT] = 1;
    b[PELIX_DGS_TEST_ATTEN] = 1000000; // 100000 dB/m: beyond 16 bits at depth
    b[PELIX_DGS_REF_STATUS] = 0;
    const int32_t count = CVDGSNumOfERSCurvePoints(b.data(), points.data());
    ASSERT_EQ(b[PELIX_DGS_NUM_POINTS], count);
    const double depth = 48.648 * 100.0 - 0.527; // last point
    const auto wrapped = static_cast<int16_t>(static_cast<int64_t>(1000000 * depth * 0.002) & 0xffff);
    double value = 0;
    ASSERT_TRUE(ersCurveValue(100.0, value));
    EXPECT_EQ(points[count - 1].slGain, wrapped + static_cast<int32_t>(10 * value) - 400);
}

TEST_F(DgsExports, SearchesReadNoFurtherThanFortyPoints) {
    struct {
        DGSPoint points[PELIX_DGS_MAX_POINTS];
        DGSPoint beyond[4];
    } guarded{};
    for (int i = 0; i < PELIX_DGS_MAX_POINTS; ++i)
        guarded.points[i].slTOF = 100 * (i + 1);
    for (int i = 0; i < 4; ++i)
        guarded.beyond[i].slTOF = 100000 + i;
    Block b = steelSetup();
    b[PELIX_DGS_NUM_POINTS] = 1000;
    EXPECT_EQ(CVDGSFindEarlierTOFPoint(100001, b.data(), guarded.points), kNone);
    EXPECT_EQ(CVDGSFindEarlierTOFPoint(3950, b.data(), guarded.points), 38);
    b[PELIX_DGS_NUM_POINTS] = 1;
    EXPECT_EQ(CVDGSFindEarlierTOFPoint(100, b.data(), guarded.points), kNone);
    EXPECT_EQ(CVDGSFindLaterTOFPoint(50, b.data(), guarded.points), kNone);
}

// Arbitrary setups, as a damaged recording could hand them over: whatever the words hold, the
// exports stay within their records and leave only finite figures behind.
TEST_F(DgsExports, ArbitraryBlocksStayWithinBounds) {
    std::mt19937 random(2024);
    const int offsets[] = {
        PELIX_DGS_PROBE_DELAY, PELIX_DGS_VELOCITY,  PELIX_DGS_REF_STATUS, PELIX_DGS_ERS,
        PELIX_DGS_XTAL_FREQ,   PELIX_DGS_EFFE_DIAM, PELIX_DGS_DELAY_VEL,  PELIX_DGS_REF_TYPE,
        PELIX_DGS_REF_SIZE,    PELIX_DGS_REF_ATTEN, PELIX_DGS_AMPL_CORR,  PELIX_DGS_TEST_ATTEN,
        PELIX_DGS_REF_DIST,    PELIX_DGS_REF_AMP,   PELIX_DGS_BASE_GAIN,  PELIX_DGS_REF_GAIN};
    for (int trial = 0; trial < 3000; ++trial) {
        Block b = steelSetup(static_cast<int32_t>(random() % 45) - 2);
        for (int offset : offsets) {
            if (random() % 3 == 0)
                b[offset] = static_cast<int32_t>(random()); // anything at all
            else if (random() % 2 == 0)
                b[offset] = b[offset] / 2 + static_cast<int32_t>(random() % 1000);
        }
        b[PELIX_DGS_CONVERT] = static_cast<int32_t>(random() % 2);
        const int32_t count = draw(b);
        ASSERT_GE(count, 0);
        ASSERT_LE(count, PELIX_DGS_MAX_POINTS);
        ASSERT_EQ(b[PELIX_DGS_NUM_POINTS], count);
        const State& s = state();
        ASSERT_TRUE(std::isfinite(s.nearField_mm) && std::isfinite(s.delayAllowance_mm) &&
                    std::isfinite(s.referenceCorrection_dB) && std::isfinite(s.referenceCurveValue))
            << trial;
        const int32_t time = static_cast<int32_t>(random());
        for (int32_t found : {CVDGSFindEarlierTOFPoint(time, b.data(), points.data()),
                              CVDGSFindLaterTOFPoint(time, b.data(), points.data())}) {
            ASSERT_TRUE(found == kNone || (found >= 0 && found + 1 < count)) << trial;
        }
    }
}

} // namespace
