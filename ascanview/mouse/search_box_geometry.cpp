#include "ascanview/mouse/search_box_geometry.h"

#include <algorithm>

namespace pelix::ascanview {

namespace {
constexpr double kMinWidthLeft = 120.0, kMinWidthRight = 150.0;
constexpr double kMinHeightTop = 80.0, kMinHeightBottom = 150.0;
} // namespace

BoxZone boxZoneAt(double x, double y, double width, double height) {
    const int column = x < width / 4 ? 0 : (x > 4 * width / 5 ? 2 : 1);
    const int row = y < height / 4 ? 0 : (y > 4 * height / 5 ? 2 : 1);
    static constexpr BoxZone zones[3][3] = {
        {BoxZone::TopLeft, BoxZone::Top, BoxZone::TopRight},
        {BoxZone::Left, BoxZone::Middle, BoxZone::Right},
        {BoxZone::BottomLeft, BoxZone::Bottom, BoxZone::BottomRight},
    };
    return zones[row][column];
}

bool limitSearchBox(SearchBoxGeometry& box, const SearchBoxDrag& drag, double surfaceWidth,
                    double surfaceHeight) {
    bool past = false;
    if (box.left <= kSurfaceLeft - 120) {
        box.left = kSurfaceLeft - 80;
        past = true;
    }
    if (box.top <= kSurfaceTop - 288) {
        box.top = kSurfaceTop - 287;
        past = true;
    }
    if (box.left + box.width >= surfaceWidth + kSurfaceLeft) {
        box.left = surfaceWidth - box.width - 30;
        past = true;
    }
    if (box.top + box.height >= surfaceHeight + kSurfaceTop) {
        box.top = surfaceHeight - box.height;
        past = true;
    }
    if (!past && drag.searchMoving) {
        box.left += drag.mouseX - drag.pressX;
        box.top += drag.mouseY - drag.pressY;
    }
    return past;
}

void resizeSearchBox(SearchBoxGeometry& box, BoxZone zone, SearchBoxDrag& drag) {
    const double dx = drag.mouseX - drag.pressX;
    const double dy = drag.mouseY - drag.pressY;
    const bool left = zone == BoxZone::Left || zone == BoxZone::TopLeft || zone == BoxZone::BottomLeft;
    const bool right = zone == BoxZone::Right || zone == BoxZone::TopRight || zone == BoxZone::BottomRight;
    const bool top = zone == BoxZone::Top || zone == BoxZone::TopLeft || zone == BoxZone::TopRight;
    const bool bottom =
        zone == BoxZone::Bottom || zone == BoxZone::BottomLeft || zone == BoxZone::BottomRight;

    // A box already smaller than the smallest is not shrunk further through
    // the left, right or top edge; through the bottom edge it is made 150 high.
    if (left) {
        const double rightEdge = box.left + box.width;
        const double edge = std::min(box.left + dx, std::max(rightEdge - kMinWidthLeft, box.left));
        box.width = rightEdge - edge;
        box.left = edge;
    }
    if (right) {
        const double rightEdge = box.left + box.width;
        const double edge = std::max(rightEdge + dx, std::min(box.left + kMinWidthRight, rightEdge));
        drag.pressX += edge - rightEdge;
        box.width = edge - box.left;
    }
    if (top) {
        const double bottomEdge = box.top + box.height;
        const double edge = std::min(box.top + dy, std::max(bottomEdge - kMinHeightTop, box.top));
        box.height = bottomEdge - edge;
        box.top = edge;
    }
    if (bottom) {
        const double bottomEdge = box.top + box.height;
        const double edge = std::max(bottomEdge + dy, box.top + kMinHeightBottom);
        drag.pressY += edge - bottomEdge;
        box.height = edge - box.top;
    }
}

std::optional<SearchBoxGeometry> searchBoxOfLimits(double lowWidth, double upWidth, double lowHeight,
                                                   double upHeight, bool rf, bool lowerHalf,
                                                   double surfaceWidth, double surfaceHeight) {
    const double w = surfaceWidth, h = surfaceHeight;
    // Written so that a NaN fails every test.
    if (!(w > 0.0 && h > 0.0) || !(0.0 <= lowWidth && lowWidth < upWidth && upWidth <= 800.0) ||
        !(0.0 <= lowHeight && lowHeight < upHeight && upHeight <= 100.0))
        return std::nullopt;
    SearchBoxGeometry box;
    box.left = lowWidth / 800.0 * w;
    box.width = (upWidth - lowWidth) / 800.0 * w;
    if (!rf) {
        box.top = (100.0 - upHeight) / 100.0 * h;
        box.height = (upHeight - lowHeight) / 100.0 * h;
        return box;
    }
    // RF amplitudes are magnitudes from the centre line, upwards or downwards.
    const double half = h / 2.0;
    box.height = (upHeight - lowHeight) / 100.0 * half;
    box.top = lowerHalf ? half + lowHeight / 100.0 * half : (100.0 - upHeight) / 100.0 * half;
    return box;
}

} // namespace pelix::ascanview
