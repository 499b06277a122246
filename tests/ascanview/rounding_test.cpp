// The control rounds reals to the nearest integer, halves to even, without a
// library call; it must agree with the library's rounding everywhere.
#include "ascanview/render/checked_math.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>
#include <random>

using pelix::ascanview::nearestEven;
using pelix::ascanview::roundToLong;

TEST(Rounding, NearestEvenAgreesWithTheLibraryOnHalvesEdgesAndRandomValues) {
    ASSERT_EQ(std::fegetround(), FE_TONEAREST);
    const double two52 = 4503599627370496.0;
    std::vector<double> values = {0.0,
                                  -0.0,
                                  0.5,
                                  1.5,
                                  2.5,
                                  -0.5,
                                  -1.5,
                                  -2.5,
                                  0.49999999999999994,
                                  -0.49999999999999994,
                                  1e-300,
                                  -1e-300,
                                  two52 - 0.5,
                                  two52 - 1.5,
                                  -(two52 - 0.5),
                                  two52,
                                  two52 + 1.0,
                                  -two52,
                                  two52 / 2 + 0.5,
                                  2147483647.5,
                                  -2147483648.5,
                                  1e300,
                                  -1e300,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> small(-70000.0, 70000.0);
    for (int i = 0; i < 100000; ++i) {
        const double v = small(random);
        values.push_back(v);
        values.push_back(std::floor(v) + 0.5); // a half
        values.push_back(std::nextafter(std::floor(v) + 0.5, 0.0));
    }
    for (const double v : values) {
        const double expected = std::nearbyint(v);
        const double got = nearestEven(v);
        ASSERT_EQ(got, expected) << std::hexfloat << v;
    }
    EXPECT_TRUE(std::isnan(nearestEven(std::numeric_limits<double>::quiet_NaN())));
}

TEST(Rounding, RoundToLongRefusesWhatAnInt32CannotHold) {
    EXPECT_EQ(roundToLong(2147483647.4), 2147483647);
    EXPECT_EQ(roundToLong(-2147483648.5), -2147483648); // halves to even
    EXPECT_FALSE(roundToLong(2147483647.5));
    EXPECT_FALSE(roundToLong(-2147483649.0));
    EXPECT_FALSE(roundToLong(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ(roundToLong(-2.5), -2);
}
