// The main window's geometry in twips, the unit its layout is designed in. The
// rule itself is shared with the A-scan control (core/geometry/twips.h); the
// window rounds an edge on half a pixel to the even pixel.
#pragma once

#include "core/geometry/twips.h"

#include <QRect>
#include <QRectF>

namespace pelix::player {

using geometry::kTwipsPerPixel;
using geometry::twipsFromPixels;

inline int pixelsFromTwips(double twips) {
    return geometry::pixelsFromTwips(twips, geometry::HalfPixel::ToEven);
}

inline QRect pixelsFromTwips(const QRectF& twips) {
    const geometry::PixelRect r = geometry::pixelsFromTwips(twips.left(), twips.top(), twips.width(),
                                                            twips.height(), geometry::HalfPixel::ToEven);
    return {r.left, r.top, r.width, r.height};
}

} // namespace pelix::player
