// Window geometry in twips, the unit the window's layout is designed in:
// 1440 per inch, 15 per pixel at 96 dpi.
#pragma once

#include <QRect>
#include <QRectF>

#include <cmath>

namespace pelix::player {

inline constexpr double kTwipsPerPixel = 15.0;

inline int pixelsFromTwips(double twips) {
    return static_cast<int>(std::nearbyint(twips / kTwipsPerPixel));
}
inline double twipsFromPixels(int pixels) {
    return pixels * kTwipsPerPixel;
}

inline QRect pixelsFromTwips(const QRectF& twips) {
    // Edges are rounded, not sizes, so neighbouring controls stay flush.
    const int left = pixelsFromTwips(twips.left());
    const int top = pixelsFromTwips(twips.top());
    return {left, top, pixelsFromTwips(twips.left() + twips.width()) - left,
            pixelsFromTwips(twips.top() + twips.height()) - top};
}

} // namespace pelix::player
