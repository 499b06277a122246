// The probe maker's data and the diagram arithmetic: lookups and the curve of one reflector.
#include "cal/dgs/dgs_internal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

namespace {

using namespace pelix::cal::dgs;

int column(const Diagram& d, double distance) {
    for (int i = 0; i < d.columns; ++i)
        if (d.distances[i] == distance) return i;
    return -1;
}

int row(const Diagram& d, double key) {
    for (int r = 0; r < d.rows; ++r)
        if (d.keys[r] == key) return r;
    return -1;
}

TEST(GeneralDiagram, GridIsTheInstrumentsGrid) {
    const Diagram& d = generalDiagram();
    const double distances[] = {0.1, 0.15, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9,  1.0,  1.1,
                                1.2, 1.3,  1.4, 1.5, 1.7, 2.0, 3.0, 4.0, 6.0, 10.0, 100.0};
    const double keys[] = {2147483647.0, 1.0, 0.8,  0.6,  0.48, 0.4,  0.3,  0.24, 0.2,   0.15,
                           0.12,         0.1, 0.08, 0.06, 0.05, 0.04, 0.03, 0.02, 0.015, 0.01};
    ASSERT_EQ(d.columns, 23);
    ASSERT_EQ(d.rows, 20);
    for (int i = 0; i < 23; ++i)
        EXPECT_EQ(d.distances[i], distances[i]);
    for (int r = 0; r < 20; ++r)
        EXPECT_EQ(d.keys[r], keys[r]);
}

TEST(GeneralDiagram, CalibrationValues) {
    const struct {
        double key, distance, gain;
    } cases[] = {{2147483647.0, 0.1, 0.6}, {2147483647.0, 1.0, 2.0}, {2147483647.0, 100.0, 36.1},
                 {1.0, 1.0, 2.0},          {1.0, 100.0, 60.1},       {0.1, 0.1, 37.7},
                 {0.1, 1.0, 28.4},         {0.1, 100.0, 100.1},      {0.01, 0.1, 76.2},
                 {0.01, 100.0, 140.1}};
    const Diagram& d = generalDiagram();
    for (const auto& c : cases)
        EXPECT_EQ(d.value(row(d, c.key), column(d, c.distance)), c.gain) << c.key << " at " << c.distance;
}

// Beyond the near field (or the first tenth of an own diagram's range) echoes only fall with
// distance; a smaller reflector never needs less gain than a larger one; no "no value" holes.
void expectPhysical(const Diagram& d, double nearFieldEnd, const std::string& name) {
    for (int r = 0; r < d.rows; ++r)
        for (int i = 1; i < d.columns; ++i) {
            EXPECT_NE(d.value(r, i), kNoValue) << name;
            if (d.distances[i - 1] >= nearFieldEnd) {
                EXPECT_GE(d.value(r, i), d.value(r, i - 1)) << name << " row " << r << " col " << i;
            }
            if (r > 0) {
                EXPECT_GE(d.value(r, i), d.value(r - 1, i)) << name << " row " << r << " col " << i;
            }
        }
    for (int r = 2; r < d.rows; ++r)
        EXPECT_LT(d.keys[r], d.keys[r - 1]) << name;
    for (int i = 1; i < d.columns; ++i)
        EXPECT_LT(d.distances[i - 1], d.distances[i]) << name;
    EXPECT_EQ(d.keys[0], kBackWallKey) << name;
}

TEST(GeneralDiagram, FollowsThePhysics) {
    expectPhysical(generalDiagram(), 1.0, "general");
    // far field: 40 dB per decade for discs, 20 dB per decade for the wall
    const Diagram& d = generalDiagram();
    EXPECT_NEAR(d.value(11, 22) - d.value(11, 21), 40.0, 1.0);
    EXPECT_NEAR(d.value(0, 22) - d.value(0, 21), 20.0, 1.0);
}

TEST(ProbeCatalog, RowsAndTypes) {
    std::set<std::string> names;
    for (int32_t i = 0; i < kProbeCount; ++i) {
        const ProbeCatalogRow& row = *catalogRow(i);
        const int expectedType = i < 25 ? 0 : (i < 35 ? 1 : 2);
        EXPECT_EQ(row.type, expectedType) << i;
        // 14 characters right-aligned, then two zero bytes
        EXPECT_EQ(row.modelName[14], '\0');
        EXPECT_EQ(row.modelName[15], '\0');
        EXPECT_EQ(std::strlen(row.modelName), 14u) << i;
        EXPECT_NE(row.modelName[13], ' ') << i;
        EXPECT_TRUE(names.insert(row.modelName).second) << "duplicate " << row.modelName;
        EXPECT_TRUE(row.velocityFigure == 23800 || row.velocityFigure == 25000 ||
                    row.velocityFigure == 27300);
        EXPECT_TRUE(row.frequencyFigure == 5 || row.frequencyFigure == 10 || row.frequencyFigure == 20 ||
                    row.frequencyFigure == 40);
        const ProbeInfo* info = probe(i);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(info->type, expectedType);
        if (expectedType == 1) {
            EXPECT_EQ(row.diameterFigure, 0);
            EXPECT_TRUE((row.smallestReflector_um == 1000 && row.largestReflector_um == 8000) ||
                        (row.smallestReflector_um == 800 && row.largestReflector_um == 5000))
                << i;
            ASSERT_NE(info->ownDiagram, nullptr);
            EXPECT_EQ(info->largestReflector_um, row.largestReflector_um);
            EXPECT_EQ(info->ownDiagram->keys[1] * 1000, row.largestReflector_um);
            EXPECT_EQ(info->ownDiagram->keys[info->ownDiagram->rows - 1] * 1000, row.smallestReflector_um);
        } else {
            EXPECT_GT(row.diameterFigure, 0);
            EXPECT_EQ(info->ownDiagram, nullptr);
            EXPECT_EQ(&diagramFor(row), &generalDiagram());
        }
        EXPECT_EQ(row.nearField_um > 0, expectedType == 2) << i;
        EXPECT_EQ(row.delayAllowance_um > 0, expectedType == 2) << i;
    }
    EXPECT_EQ(probe(-1), nullptr);
    EXPECT_EQ(probe(41), nullptr);
    EXPECT_EQ(catalogRow(41), nullptr);
}

TEST(ProbeCatalog, OwnDiagramsAreInMillimetres) {
    std::set<const Diagram*> seen;
    for (int32_t i = 25; i < 35; ++i) {
        const Diagram& d = *probe(i)->ownDiagram;
        EXPECT_TRUE(seen.insert(&d).second) << i;
        EXPECT_GE(d.columns, 13);
        EXPECT_LE(d.columns, 38);
        EXPECT_NEAR(d.distances[0], 2.5, 2.0);
        EXPECT_GE(d.distances[d.columns - 1], 30.0);
        EXPECT_LE(d.distances[d.columns - 1], 200.0);
        expectPhysical(d, d.distances[d.columns - 1] / 2, "own diagram of row " + std::to_string(i));
    }
}

TEST(LookupA, ClampsOutsideAndInterpolatesInLogDistance) {
    const Diagram& d = generalDiagram();
    bool clamped = false;
    EXPECT_EQ(lookupRow(d, 11, 0.05, clamped), 37.7);
    EXPECT_TRUE(clamped);
    EXPECT_EQ(lookupRow(d, 11, 500.0, clamped), 100.1);
    EXPECT_TRUE(clamped);
    EXPECT_EQ(lookupRow(d, 11, NAN, clamped), 37.7);
    EXPECT_TRUE(clamped);
    EXPECT_EQ(lookupRow(d, 11, 1.0, clamped), 28.4);
    EXPECT_FALSE(clamped);
    // halfway between 10 and 100 in the logarithm
    const double between = lookupRow(d, 0, std::sqrt(1000.0), clamped);
    EXPECT_FALSE(clamped);
    EXPECT_NEAR(between, (d.value(0, 21) + 36.1) / 2, 1e-9);
    EXPECT_EQ(lookupRow(d, 20, 1.0, clamped), 0.0); // no such row
    EXPECT_TRUE(clamped);
}

TEST(LookupB, InterpolatesInLogSizeBetweenRows) {
    const Diagram& d = generalDiagram();
    double value = 0;
    // a key between two adjacent rows lies between their values
    ASSERT_TRUE(lookupKey(d, 3.0, 0.11, value));
    EXPECT_GT(value, d.value(10, 18));
    EXPECT_LT(value, d.value(11, 18));
    EXPECT_FALSE(lookupKey(d, 0.01, 0.11, value)); // distance outside the diagram
    EXPECT_FALSE(lookupKey(d, 3.0, 0.0, value));
}

TEST(ReflectorCurve, KeysSelectRowsOrInterpolate) {
    const Diagram& d = generalDiagram();
    const struct {
        double key;
        int copiedRow; // -1: interpolated
        double curveKey;
    } cases[] = {{0.0, 0, kBackWallKey}, {1.5, 1, 1.0},  {0.005, 19, 0.01},
                 {-0.2, 19, 0.01},       {0.1, -1, 0.1}, {0.07, -1, 0.07}};
    for (const auto& c : cases) {
        Curve curve;
        buildCurve(d, c.key, curve);
        ASSERT_EQ(curve.columns, 23) << c.key;
        EXPECT_EQ(curve.key, c.curveKey);
        EXPECT_EQ(curve.source, &d);
        for (int i = 0; i < 23; ++i) {
            EXPECT_EQ(curve.distances[i], d.distances[i]);
            if (c.copiedRow >= 0) {
                EXPECT_EQ(curve.values[i], d.value(c.copiedRow, i)) << c.key;
            }
        }
    }
    Curve onRow;
    buildCurve(d, 0.1, onRow);
    for (int i = 0; i < 23; ++i)
        EXPECT_NEAR(onRow.values[i], d.value(11, i), 1e-9);
}

TEST(ReflectorCurve, NoValueEntriesCloseTheCurve) {
    const double distances[] = {1, 2, 4, 8};
    const double keys[] = {kBackWallKey, 4, 2, 1};
    const double values[] = {0,  6,  12,   18,   //
                             10, 16, 22,   28,   //
                             20, 26, 32,   1000, //
                             30, 36, 1000, 1000};
    const Diagram d{4, distances, 4, keys, values};
    Curve curve;
    buildCurve(d, 3.0, curve); // between rows 1 and 2: the last column has no value in row 2
    ASSERT_EQ(curve.columns, 3);
    EXPECT_NEAR(curve.values[0], 10 + 10 * std::log10(3.0 / 4) / std::log10(0.5), 1e-12);
    buildCurve(d, 0.5, curve); // the smallest row, copied up to its first missing value
    EXPECT_EQ(curve.columns, 2);
    EXPECT_EQ(curve.values[1], 36.0);
}

TEST(ReflectorCurve, AMissingValueInsideARowClosesTheCurveThere) {
    // A hostile own diagram with a gap in the middle of a row: the points before
    // the gap keep their own distances, nothing after the gap is drawn.
    const double distances[] = {1, 2, 4, 8};
    const double keys[] = {kBackWallKey, 4, 2, 1};
    const double values[] = {0,  6,    12, 18, //
                             10, 16,   22, 28, //
                             20, 1000, 32, 38, //
                             30, 36,   42, 48};
    const Diagram d{4, distances, 4, keys, values};
    Curve curve;
    buildCurve(d, 3.0, curve);
    ASSERT_EQ(curve.columns, 1);
    EXPECT_EQ(curve.distances[0], 1.0);
}

TEST(ReflectorCurve, InterpolatedPointsKeepTheirOwnColumnsDistances) {
    const double distances[] = {1, 2, 4, 8};
    const double keys[] = {kBackWallKey, 4, 2, 1};
    const double values[] = {0,  6,  12, 18, //
                             10, 16, 22, 28, //
                             20, 26, 32, 38, //
                             30, 36, 42, 48};
    const Diagram d{4, distances, 4, keys, values};
    Curve curve;
    buildCurve(d, 3.0, curve);
    ASSERT_EQ(curve.columns, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(curve.distances[i], distances[i]);
        EXPECT_NEAR(curve.values[i], values[4 + i] + 10 * std::log10(3.0 / 4) / std::log10(0.5), 1e-12);
    }
}

} // namespace
