// Where the overview window opens: beside the main window (to its right, else
// to its left) where the screen has room for it, else below the main window,
// else above it; never over it. All rectangles are outer (frame) rectangles
// in screen pixels.
#pragma once

#include <QRect>
#include <QSize>

namespace pelix::overview {

// Space kept between the two windows.
inline constexpr int kOverviewGap = 8;

// The overview's outer rectangle for a main window at `main` on a screen whose
// free area is `room`: `preferred` where it fits, cut down to the room on the
// chosen side, never below `minimum`. When no side has room for `minimum`
// (the main window fills the screen) the side with the most room gets the
// minimum size, even if part of it then lies past the screen's edge.
QRect overviewPlacement(const QRect& main, const QRect& room, QSize preferred, QSize minimum);

} // namespace pelix::overview
