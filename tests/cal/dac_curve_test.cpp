// DAC points from recorded echoes, the Akima cubic through them, and the integer logarithm.
#include "cal/dac/log10_table.h"
#include <pelix_cal.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

TEST(IntLog10, DocumentedValues) {
    const struct {
        uint32_t value;
        uint32_t log;
    } cases[] = {
        {0, 0},        {1, 0},         {2, 3010},       {9, 9542},        {10, 10000},        {11, 10414},
        {99, 19956},   {100, 20000},   {105, 20207},    {400, 26021},     {1234, 30909},      {65535, 48164},
        {1000, 30000}, {10000, 40000}, {100000, 50000}, {1000000, 60000}, {1000000000, 90000}};
    for (const auto& c : cases)
        EXPECT_EQ(INTLOG10LookUp(c.value), c.log) << c.value;
}

TEST(IntLog10, TableIsRoundedLogarithm) {
    const int32_t* table = pelix::cal::dac::LOG10_TABLE;
    EXPECT_EQ(table[0], 0);
    EXPECT_EQ(table[1], 0);
    for (int n = 2; n < 10; ++n)
        EXPECT_EQ(table[n], std::lround(10000.0 * std::log10(n))) << n;
    for (int n = 10; n < 100; ++n)
        EXPECT_EQ(table[n], std::lround(10000.0 * std::log10(n)) - 10000) << n;
    EXPECT_EQ(table[100], 10000);
}

// Interpolating between two-digit mantissas stays within 7 units of the true logarithm, over
// the whole 32-bit range (an interpolation product kept in 32 bits is off by thousands there),
// and never decreases.
TEST(IntLog10, FollowsTheTrueLogarithmOverTheWholeRange) {
    std::vector<uint32_t> values = {4294967295u, 4294967294u};
    for (uint64_t p = 10; p <= 1000000000; p *= 10)
        for (int64_t d = -2; d <= 2; ++d)
            values.push_back(static_cast<uint32_t>(p + d));
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i)
        values.push_back(random() >> (random() % 32));
    std::sort(values.begin(), values.end());
    uint32_t previous = 0;
    for (uint32_t v : values) {
        const uint32_t log = INTLOG10LookUp(v);
        ASSERT_GE(log, previous) << v;
        if (v > 0) {
            ASSERT_NEAR(log, 10000.0 * std::log10(v), 7.0) << v;
        }
        previous = log;
    }
}

TCGPointTable tableOf(std::initializer_list<TCGPoint> points) {
    TCGPointTable table{};
    for (const TCGPoint& p : points)
        table.points[table.ulNumOfStoredPoints++] = p;
    return table;
}

TCGPoint echo(int32_t amp, int32_t gain, uint32_t tof) {
    TCGPoint p{};
    p.ulRecordedAMP_01PCT = amp;
    p.ulRecordedGain_01dB = gain;
    p.ulHardwareTOF_20ns = tof;
    return p;
}

TEST(DacConvert, AmplitudesAreReferredToTheReferenceGain) {
    const TCGPointTable table = tableOf({echo(800, 300, 50), echo(400, 100, 120), echo(500, 360, 300)});
    DACCurve curve;
    std::memset(&curve, 0x5a, sizeof curve);
    DACConvertFromTCGPoints(&curve, &table, 300);
    EXPECT_EQ(curve.ulRefGain_01dB, 300u);
    EXPECT_EQ(curve.ulNumOfSegments, 2u);
    EXPECT_EQ(curve.points[0].fTOF_1ns, 1000.0f);
    EXPECT_EQ(curve.points[0].fAmp_01PCT, 800.0f);  // recorded at the reference gain
    EXPECT_EQ(curve.points[1].fAmp_01PCT, 4000.0f); // 20 dB below: exactly ten times
    EXPECT_EQ(curve.points[2].fAmp_01PCT, static_cast<float>(500 * std::pow(10.0, -60 * 0.005))); // above
    EXPECT_EQ(curve.points[2].fTOF_1ns, 6000.0f);
    for (int k = 3; k < PELIX_CAL_DAC_POINTS; ++k) {
        EXPECT_EQ(curve.points[k].fTOF_1ns, 0.0f);
        EXPECT_EQ(curve.points[k].fAmp_01PCT, 0.0f);
    }
    for (const DACPoint& p : curve.points)
        EXPECT_TRUE(p.fCoef3 == 0.0f && p.fCoef2 == 0.0f && p.fCoef1 == 0.0f && p.fCoef0 == 0.0f);
}

TEST(DacConvert, SegmentCountFollowsStoredPoints) {
    const struct {
        uint32_t stored;
        uint32_t segments;
    } cases[] = {{0, 0}, {1, 0}, {2, 1}, {16, 15}, {17, 15}, {0xffffffffu, 15}};
    for (const auto& c : cases) {
        TCGPointTable table{};
        table.ulNumOfStoredPoints = c.stored;
        DACCurve curve{};
        DACConvertFromTCGPoints(&curve, &table, 0);
        EXPECT_EQ(curve.ulNumOfSegments, c.segments) << c.stored;
    }
}

TEST(DacConvert, AbsurdGainsGiveFiniteAmplitudes) {
    const TCGPointTable table =
        tableOf({echo(1000, -2000000000, 1), echo(0, -2000000000, 2), echo(-5, 0, 3)});
    DACCurve curve{};
    DACConvertFromTCGPoints(&curve, &table, 4000000000u);
    GenerateDACCoefAkima(curve.points, &table, curve.ulNumOfSegments);
    for (const DACPoint& p : curve.points)
        for (float f : {p.fTOF_1ns, p.fAmp_01PCT, p.fCoef3, p.fCoef2, p.fCoef1, p.fCoef0})
            EXPECT_TRUE(std::isfinite(f));
    EXPECT_EQ(curve.points[0].fAmp_01PCT, FLT_MAX);
    EXPECT_EQ(curve.points[1].fAmp_01PCT, 0.0f);
}

DACCurve curveThrough(const std::vector<std::pair<float, float>>& knots) {
    DACCurve curve{};
    for (size_t j = 0; j < knots.size(); ++j) {
        curve.points[j].fTOF_1ns = knots[j].first;
        curve.points[j].fAmp_01PCT = knots[j].second;
    }
    curve.ulNumOfSegments = knots.empty() ? 0 : static_cast<uint32_t>(knots.size() - 1);
    GenerateDACCoefAkima(curve.points, nullptr, curve.ulNumOfSegments);
    return curve;
}

double evaluate(const DACPoint& p, double t) {
    const double d = t - p.fTOF_1ns;
    return ((p.fCoef3 * d + p.fCoef2) * d + p.fCoef1) * d + p.fCoef0;
}

TEST(Akima, SinglePointIsAConstant) {
    DACCurve curve{};
    curve.points[0] = DACPoint{100.0f, 420.0f, 1.0f, 2.0f, 3.0f, 4.0f};
    curve.points[1] = DACPoint{200.0f, 50.0f, 7.0f, 7.0f, 7.0f, 7.0f};
    GenerateDACCoefAkima(curve.points, nullptr, 0);
    EXPECT_EQ(curve.points[0].fCoef3, 0.0f);
    EXPECT_EQ(curve.points[0].fCoef2, 0.0f);
    EXPECT_EQ(curve.points[0].fCoef1, 0.0f);
    EXPECT_EQ(curve.points[0].fCoef0, 420.0f);
    EXPECT_EQ(curve.points[1].fCoef0, 7.0f); // nothing else changes
}

TEST(Akima, StraightLineSlopes) {
    // slope 0.5 per ns: t0 = m/2 (no change on either side), t1 = m (no change in the middle), t2 = 0
    const DACCurve curve = curveThrough({{100, 100}, {200, 150}, {300, 200}});
    EXPECT_FLOAT_EQ(curve.points[0].fCoef1, 0.25f);
    EXPECT_FLOAT_EQ(curve.points[1].fCoef1, 0.5f);
    // working values left at the last point
    EXPECT_EQ(curve.points[2].fCoef3, 0.0f);
    EXPECT_FLOAT_EQ(curve.points[2].fCoef2, 0.5f);
    EXPECT_EQ(curve.points[2].fCoef1, 0.0f);
    // segment 1 runs from slope 0.5 to the last point's slope 0
    EXPECT_FLOAT_EQ(curve.points[1].fCoef2, (3 * 0.5 - 2 * 0.5 - 0) / 100.0);
    EXPECT_FLOAT_EQ(curve.points[1].fCoef3, (0.5 + 0 - 2 * 0.5) / 10000.0);
}

TEST(Akima, TwoPointSlopes) {
    const struct {
        float y1;
        double firstSlope;
    } cases[] = {
        {300.0f, 0.0},                                // steep: left weight zero, slope outside (0)
        {100.0005f, (100.0005f - 100.0) / 200.0 / 2}, // |m| below 0.00001: half the secant
    };
    for (const auto& c : cases) {
        const DACCurve curve = curveThrough({{100, 100}, {300, c.y1}});
        EXPECT_NEAR(curve.points[0].fCoef1, c.firstSlope, 1e-12) << c.y1;
        EXPECT_EQ(curve.points[1].fCoef1, 0.0f);
        EXPECT_NEAR(evaluate(curve.points[0], 300.0), c.y1, 1e-3) << c.y1;
    }
}

TEST(Akima, CurvePassesThroughEveryKnotAndKeepsPlateausFlat) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<std::pair<float, float>> knots;
        float t = 0;
        const int count = 2 + trial % 15;
        for (int j = 0; j < count; ++j) {
            t += static_cast<float>(20 * (1 + random() % 200));
            knots.emplace_back(t, static_cast<float>(random() % 4000));
        }
        const DACCurve curve = curveThrough(knots);
        for (int j = 0; j + 1 < count; ++j) {
            EXPECT_EQ(curve.points[j].fCoef0, knots[j].second);
            const double end = evaluate(curve.points[j], knots[j + 1].first);
            EXPECT_NEAR(end, knots[j + 1].second, 0.05 + 1e-4 * std::fabs(knots[j + 1].second))
                << "trial " << trial << " segment " << j;
        }
    }
    // Akima's rule: three equal points in a row make the middle slope zero
    const DACCurve plateau = curveThrough({{0, 0}, {100, 300}, {200, 300}, {300, 300}, {400, 0}});
    EXPECT_EQ(plateau.points[2].fCoef1, 0.0f);
    EXPECT_EQ(plateau.points[2].fCoef2, 0.0f);
    EXPECT_EQ(plateau.points[2].fCoef3, 0.0f);
}

TEST(Akima, PointsAtOneTimeGiveAFlatPiece) {
    const DACCurve curve = curveThrough({{100, 100}, {200, 300}, {200, 500}, {300, 200}});
    EXPECT_EQ(curve.points[1].fCoef0, 300.0f);
    EXPECT_EQ(curve.points[1].fCoef1, 0.0f);
    EXPECT_EQ(curve.points[1].fCoef2, 0.0f);
    EXPECT_EQ(curve.points[1].fCoef3, 0.0f);
    for (int j = 0; j < 4; ++j)
        for (float f : {curve.points[j].fCoef3, curve.points[j].fCoef2, curve.points[j].fCoef1})
            EXPECT_TRUE(std::isfinite(f)) << j;
}

TEST(Akima, SegmentCountBeyondTheCurveIsLimited) {
    DACCurve curve{};
    for (int j = 0; j < PELIX_CAL_DAC_POINTS; ++j)
        curve.points[j] = DACPoint{100.0f * (j + 1), 10.0f * j, 0, 0, 0, 0};
    struct Guarded {
        DACPoint points[PELIX_CAL_DAC_POINTS];
        DACPoint after;
    } guarded{};
    std::memcpy(guarded.points, curve.points, sizeof curve.points);
    guarded.after = DACPoint{1, 2, 3, 4, 5, 6};
    GenerateDACCoefAkima(guarded.points, nullptr, 1000);
    EXPECT_EQ(guarded.after.fCoef3, 3.0f);
    EXPECT_EQ(guarded.after.fCoef0, 6.0f);
    EXPECT_EQ(guarded.points[14].fCoef0, 140.0f);
}

// Tables straight from a damaged recording: any counts, gains and times give finite curves.
TEST(Akima, ArbitraryTablesGiveFiniteCurves) {
    std::mt19937 random(99);
    for (int trial = 0; trial < 2000; ++trial) {
        TCGPointTable table{};
        table.ulNumOfStoredPoints = random() % 20;
        for (TCGPoint& p : table.points) {
            p.ulRecordedAMP_01PCT = static_cast<int32_t>(random() % 2 ? random() % 1000 : random());
            p.ulRecordedGain_01dB = static_cast<int32_t>(random() % 2 ? random() % 1000 : random());
            p.ulHardwareTOF_20ns = random() % 4 ? random() % 5000 : random();
        }
        DACCurve curve{};
        DACConvertFromTCGPoints(&curve, &table, random() % 2 ? random() % 1000 : random());
        GenerateDACCoefAkima(curve.points, &table, curve.ulNumOfSegments);
        for (const DACPoint& p : curve.points)
            for (float f : {p.fTOF_1ns, p.fAmp_01PCT, p.fCoef3, p.fCoef2, p.fCoef1, p.fCoef0})
                ASSERT_TRUE(std::isfinite(f)) << trial;
    }
}

} // namespace
