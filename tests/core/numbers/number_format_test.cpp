#include "core/numbers/number_format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace pelix::numbers {
namespace {

struct FloatCase {
    float value;
    int decimals;
    const char* expected;
};

// Values as the display holds them (single precision): rounded as they read.
TEST(FormatFixedTest, SingleValuesRoundAsTheyRead) {
    const FloatCase cases[] = {
        {1.005f, 2, "1.01"}, // binary value 1.00499999..., reads 1.005
        {2.675f, 2, "2.68"},
        {29.60148f, 2, "29.60"},
        {12.339f, 2, "12.34"},
        {-0.1995f, 3, "-0.200"},
        {0.5f, 0, "1"},
        {1.5f, 0, "2"},
        {2.5f, 0, "3"},
        {-2.5f, 0, "-3"},
        {9.995f, 2, "10.00"},
        {99.95f, 1, "100.0"},
        {5920.0f, 0, "5920"},
        {0.0f, 2, "0.00"},
        {-0.0f, 2, "0.00"},
        {1e-7f, 4, "0.0000"},
        {0.23307f, 4, "0.2331"},
        {55.0f, 3, "55.000"},
        {3.0e9f, 1, "3000000000.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected) << c.value;
}

TEST(FormatFixedTest, DoubleValuesRoundAsTheyRead) {
    const struct {
        double value;
        int decimals;
        const char* expected;
    } cases[] = {
        {1.005, 2, "1.01"},
        {40.5, 1, "40.5"},
        {-0.05, 1, "-0.1"},
        {65.00000000000001, 2, "65.00"}, // 50 x 1.1 + 10 in double
        {0.0004999, 3, "0.000"},
        {0.0005, 3, "0.001"},
        {1e20, 2, "100000000000000000000.00"},
        {-12.3456, 0, "-12"},
        {0.95, 0, "1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatFixed(c.value, c.decimals), c.expected) << c.value;
}

TEST(FormatFixedTest, DecimalPointIsTheCallersSeparator) {
    EXPECT_EQ(formatFixed(12.5, 2, ','), "12,50");
    EXPECT_EQ(formatFixed(12.5, 0, ','), "13");
}

TEST(FormatFixedTest, ShortestDecimalIsPositional) {
    EXPECT_EQ(shortestDecimal(1.005f), "1.005");
    EXPECT_EQ(shortestDecimal(0.0001), "0.0001");
    EXPECT_EQ(shortestDecimal(1e21), "1000000000000000000000");
}

TEST(RoundHalfEvenTest, HalvesGoToTheEvenNeighbour) {
    const std::pair<double, int64_t> cases[] = {{0.5, 0},   {1.5, 2},    {2.5, 2},    {-0.5, 0},
                                                {-1.5, -2}, {2.4999, 2}, {2.5001, 3}, {1e30, INT64_MAX}};
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(roundHalfEven(value), expected) << value;
    EXPECT_EQ(roundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(toInt16Saturated(40000), 32767);
    EXPECT_EQ(toInt16Saturated(-40000), -32768);
    EXPECT_EQ(toInt32Saturated(int64_t{1} << 31), INT32_MAX);
}

} // namespace
} // namespace pelix::numbers
