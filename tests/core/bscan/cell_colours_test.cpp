// The B-scan's colour map: its ends and stops are the published ones, it
// clamps what lies outside 0..1, and its lightness rises all the way, so a
// higher cell never reads darker.
#include "core/bscan/cell_colours.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using pelix::bscan::cellColour;

// Relative luminance of an sRGB colour, 0..1.
double luminance(uint32_t rgb) {
    const auto linear = [](uint32_t channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(rgb >> 16 & 0xff) + 0.7152 * linear(rgb >> 8 & 0xff) + 0.0722 * linear(rgb & 0xff);
}

TEST(CellColours, EndsStopsAndClamping) {
    const struct {
        double t;
        uint32_t rgb;
    } cases[] = {
        {0.0, 0x440154},
        {0.5, 0x21918c},
        {1.0, 0xfde725},
        {0.125, 0x472d7b},
        {-3.0, 0x440154},
        {7.0, 0xfde725},
        {std::numeric_limits<double>::quiet_NaN(), 0x440154},
        {0.0625, 0x461768}, // halfway between the first two stops, rounded per channel
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellColour(c.t), c.rgb) << c.t;
}

TEST(CellColours, LightnessRisesWithEveryPercent) {
    for (int v = 1; v <= 100; ++v)
        EXPECT_GT(luminance(cellColour(v / 100.0)), luminance(cellColour((v - 1) / 100.0))) << v;
}

} // namespace
