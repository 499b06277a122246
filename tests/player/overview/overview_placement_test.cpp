// Where the overview opens: beside the main window where the screen has room,
// else below (else above) it, and never over it.
#include "player/overview/overview_placement.h"

#include <gtest/gtest.h>

namespace pelix::overview {
namespace {

const QRect kScreen(0, 0, 1920, 1080);
const QSize kPreferred(900, 220);
const QSize kMinimum(330, 150);

struct PlacementCase {
    const char* name;
    QRect main;
    QRect expected;
};

class OverviewPlacement : public ::testing::TestWithParam<PlacementCase> {};

TEST_P(OverviewPlacement, BesideElseBelowNeverOver) {
    const PlacementCase& c = GetParam();
    const QRect place = overviewPlacement(c.main, kScreen, kPreferred, kMinimum);
    EXPECT_EQ(place, c.expected);
    EXPECT_FALSE(place.intersects(c.main)) << "the overview covers the main window";
    EXPECT_GE(place.width(), kMinimum.width());
    EXPECT_GE(place.height(), kMinimum.height());
}

INSTANTIATE_TEST_SUITE_P(
    Screens, OverviewPlacement,
    ::testing::Values(
        // Centred on a wide screen: to its right, at its top, cut to the room there.
        PlacementCase{"Centred", QRect(480, 150, 960, 780), QRect(1448, 150, 472, 220)},
        // At the screen's right edge: to its left, at full width.
        PlacementCase{"AtTheRightEdge", QRect(960, 100, 960, 780), QRect(52, 100, 900, 220)},
        // As wide as the screen, room underneath: below it, as wide as it.
        PlacementCase{"FullWidthAtTheTop", QRect(0, 0, 1920, 780), QRect(0, 788, 1920, 220)},
        // Room below for less than the preferred height, but enough: cut to it.
        PlacementCase{"FullWidthShortRoomBelow", QRect(0, 0, 1920, 900), QRect(0, 908, 1920, 172)},
        // At the bottom of the screen: above it.
        PlacementCase{"FullWidthAtTheBottom", QRect(0, 300, 1920, 780), QRect(0, 72, 1920, 220)},
        // Low on the screen: beside it, raised so that it stays on the screen.
        PlacementCase{"LowBesideKeptOnScreen", QRect(100, 950, 960, 100), QRect(1068, 860, 852, 220)},
        // The main window fills the screen: the smallest overview past its edge, not over it.
        PlacementCase{"Maximised", QRect(0, 0, 1920, 1080), QRect(1928, 0, 330, 150)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace pelix::overview
