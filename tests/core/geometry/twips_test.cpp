// Twips to pixels for the window and the A-scan control: the two roundings
// agree everywhere except on a half pixel.
#include "core/geometry/twips.h"

#include <gtest/gtest.h>

using pelix::geometry::HalfPixel;
using pelix::geometry::PixelRect;
using pelix::geometry::pixelsFromTwips;

namespace {

TEST(TwipsTest, HalfPixelsRoundByTheCallersRule) {
    struct Case {
        double twips;
        int awayFromZero;
        int toEven;
    };
    const Case cases[] = {
        {0.0, 0, 0},   {7.4, 0, 0},     {7.5, 1, 0},        {22.5, 2, 2},       {37.5, 3, 2},
        {-7.5, -1, 0}, {-22.5, -2, -2}, {6007.5, 401, 400}, {6022.5, 402, 402}, {15.0 * 661, 661, 661},
        {7.6, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pixelsFromTwips(c.twips, HalfPixel::AwayFromZero), c.awayFromZero) << c.twips;
        EXPECT_EQ(pixelsFromTwips(c.twips, HalfPixel::ToEven), c.toEven) << c.twips;
    }
}

TEST(TwipsTest, EdgesNotSizesAreRounded) {
    // Two children side by side, the boundary on a half pixel: whichever rule,
    // the second starts where the first ends and neither size drifts.
    for (const HalfPixel half : {HalfPixel::AwayFromZero, HalfPixel::ToEven}) {
        const PixelRect first = pixelsFromTwips(7.5, 0.0, 30.0, 22.5, half);
        const PixelRect second = pixelsFromTwips(37.5, 22.5, 30.0, 22.5, half);
        EXPECT_EQ(first.left + first.width, second.left);
        EXPECT_EQ(first.top + first.height, second.top);
    }
    // The control's picture on an odd control width ends on a half pixel.
    const PixelRect picture =
        pixelsFromTwips(96.0, 288.0, 801 * 15.0 / 2.0 - 96.0, 3000.0, HalfPixel::AwayFromZero);
    EXPECT_EQ(picture.left, 6);
    EXPECT_EQ(picture.left + picture.width, 401);
    EXPECT_EQ(pixelsFromTwips(96.0, 288.0, 801 * 15.0 / 2.0 - 96.0, 3000.0, HalfPixel::ToEven).width, 394);
}

} // namespace
