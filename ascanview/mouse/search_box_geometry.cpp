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

} // namespace pelix::ascanview
