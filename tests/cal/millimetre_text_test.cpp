// Millimetres with whole numbers against the printf rule they stand in for: every value of a
// range around zero (where the halves that round down and up lie close), halves whose double
// lies exactly on the half, and values up to the largest a recording's words give.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <random>
#include <string>

#include "readings/millimetre_text.h"

namespace pelix::cal::readings {
namespace {

std::string printfText(int64_t micrometres) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(micrometres) * 0.001);
    return text;
}

std::string wholeNumberText(int64_t micrometres) {
    char text[kMillimetreTextBytes];
    return {text, writeMillimetres(text, micrometres)};
}

TEST(MillimetreTextTest, EveryValueNearZeroPrintsAsPrintf) {
    for (int64_t um = -300'000; um <= 300'000; ++um)
        ASSERT_EQ(wholeNumberText(um), printfText(um)) << um;
}

TEST(MillimetreTextTest, HalvesAndLargeValuesPrintAsPrintf) {
    // 0.125 and 0.375 are exact doubles: printf rounds them to the even hundredth.
    for (const int64_t um : std::initializer_list<int64_t>{
             125, 375, -125, 1125, 5, -5, 15, 2147483647, -2147483648LL, 4294967295LL, 999'999'999'995LL,
             999'999'999'999LL, 1'000'000'000'000LL, INT64_MAX, INT64_MIN})
        EXPECT_EQ(wholeNumberText(um), printfText(um)) << um;
    std::mt19937_64 random(20261208);
    for (int i = 0; i < 200'000; ++i) {
        // Every size from a few micrometres to the 32-bit words' range and beyond, each ending in 5
        // as often as not.
        const int shift = static_cast<int>(random() % 45);
        int64_t um = static_cast<int64_t>(random() >> (19 + shift));
        if (i % 2 == 0) um = um / 10 * 10 + 5;
        if (i % 3 == 0) um = -um;
        ASSERT_EQ(wholeNumberText(um), printfText(um)) << um;
    }
}

} // namespace
} // namespace pelix::cal::readings
