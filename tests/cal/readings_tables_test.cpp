#include <gtest/gtest.h>

#include "readings/fixed_tables.h"
#include "support/case_names.h"

namespace pelix::cal::readings {
namespace {

struct AngleCase {
    int64_t angle_01deg;
    int32_t sine;
};

class ReadingsSineTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(ReadingsSineTest, AllFourQuadrantsAndBeyondOneTurn) {
    EXPECT_EQ(fastSin(GetParam().angle_01deg), GetParam().sine);
}

INSTANTIATE_TEST_SUITE_P(ReadingsAngles, ReadingsSineTest,
                         ::testing::Values(AngleCase{0, 0}, AngleCase{300, 131072}, AngleCase{450, 185364},
                                           AngleCase{900, 262144}, AngleCase{1500, 131072},
                                           AngleCase{2100, -131072}, AngleCase{3300, -131072},
                                           AngleCase{3600 + 300, 131072}, AngleCase{-300, -131072}),
                         [](const auto& info) {
                             return pelix::testing::caseName(info.param.angle_01deg, "TenthsOfADegree");
                         });

TEST(ReadingsSineTest, CosineIsTheComplementarySine) {
    EXPECT_EQ(fastCos(600), 131072);
    EXPECT_EQ(fastCos(900), 0);
    EXPECT_EQ(fastCos(1200), -131072);
}

TEST(ReadingsArcSineTest, ExactHitsNearestEntryAndSign) {
    EXPECT_EQ(fastAsin(131072), 300);
    EXPECT_EQ(fastAsin(-185364), -450);
    EXPECT_EQ(fastAsin(0), 0);
    // Entries 100 and 101 are 45521 and 45971: the nearer wins, the lower on a tie.
    EXPECT_EQ(fastAsin(45521 + 100), 100);
    EXPECT_EQ(fastAsin(45971 - 100), 101);
    EXPECT_EQ(fastAsin((45521 + 45971) / 2), 100);
    // Beyond the table's end the beam is at 90 degrees, not past the array.
    EXPECT_EQ(fastAsin(300000), 900);
    EXPECT_EQ(fastAsin(-300000), -900);
}

struct RatioCase {
    uint16_t a;
    uint16_t b;
    int32_t decibels_01dB;
};

class ReadingsDecibelTest : public ::testing::TestWithParam<RatioCase> {};

TEST_P(ReadingsDecibelTest, SignedRatioInTenthsOfDecibel) {
    EXPECT_EQ(decibelRatio(GetParam().a, GetParam().b), GetParam().decibels_01dB);
}

INSTANTIATE_TEST_SUITE_P(
    ReadingsRatios, ReadingsDecibelTest,
    ::testing::Values(RatioCase{1000, 500, 60}, RatioCase{500, 1000, -60}, RatioCase{1000, 1000, 0},
                      RatioCase{0, 500, 0}, RatioCase{500, 0, 0}, RatioCase{1000, 100, 200},
                      // 1000/6 rounds its mantissa up before the logarithm.
                      RatioCase{1000, 6, 445},
                      // Saturation at 48.2 dB either way.
                      RatioCase{65535, 1, 482}, RatioCase{1, 65535, -482}, RatioCase{300, 1, 482}),
    [](const auto& info) { return pelix::testing::caseName(info.param.a, "Over", info.param.b); });

TEST(ReadingsAntilogTest, TableInterpolationAndLimits) {
    EXPECT_EQ(antilogRatio(0), 10000);
    EXPECT_EQ(antilogRatio(600), 19952);
    EXPECT_EQ(antilogRatio(-600), 5011);
    // Between 6.0 and 6.1 dB: 19952 + (20183 - 19952) * 5 / 10.
    EXPECT_EQ(antilogRatio(605), 19952 + 115);
    EXPECT_EQ(antilogRatio(-605), 5011 - (5011 - 4954) * 5 / 10);
    // Near the limit the factor no longer fits in 32 bits and must stay exact.
    EXPECT_EQ(antilogRatio(10990), 3126079367LL);
    EXPECT_EQ(antilogRatio(10991), 0);
    EXPECT_EQ(antilogRatio(-10991), 0);
}

} // namespace
} // namespace pelix::cal::readings
