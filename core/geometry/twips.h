// Twips, the unit the window and the A-scan control are laid out in: 1440 per
// inch, 15 per pixel at 96 dpi. A rectangle goes to pixels by rounding its
// edges, not its size, so neighbouring children stay flush.
#pragma once

#include <cmath>

namespace pelix::geometry {

inline constexpr double kTwipsPerPixel = 15.0;

// How an edge that falls on exactly half a pixel is rounded. The two differ in
// that case only, and both pictures depend on it:
//  - The A-scan control rounds a half away from zero. Its picture ends at half
//    the control's width, on a half pixel whenever that width is odd, and the
//    picture, the labels and the panel columns are placed by that rounding.
//  - The main window rounds a half to the even pixel. Its controls' edges are
//    scaled in single precision and may land on a half; the window keeps every
//    control where it has always put it.
enum class HalfPixel { AwayFromZero, ToEven };

inline int pixelsFromTwips(double twips, HalfPixel half) {
    const double pixels = twips / kTwipsPerPixel;
    if (half == HalfPixel::ToEven) return static_cast<int>(std::nearbyint(pixels));
    return static_cast<int>(std::lround(pixels));
}

inline double twipsFromPixels(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A rectangle in pixels, from its rounded edges.
struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

inline PixelRect pixelsFromTwips(double left, double top, double width, double height, HalfPixel half) {
    const int l = pixelsFromTwips(left, half);
    const int t = pixelsFromTwips(top, half);
    return {l, t, pixelsFromTwips(left + width, half) - l, pixelsFromTwips(top + height, half) - t};
}

} // namespace pelix::geometry
