#include "player/overview/overview_placement.h"

#include <algorithm>
#include <array>

namespace pelix::overview {

namespace {

enum class Side { Right, Left, Below, Above };

// Pixels free between the main window and the screen's edge on `side`, less the gap.
int roomOn(Side side, const QRect& main, const QRect& room) {
    switch (side) {
    case Side::Right:
        return room.right() - main.right() - kOverviewGap;
    case Side::Left:
        return main.left() - room.left() - kOverviewGap;
    case Side::Below:
        return room.bottom() - main.bottom() - kOverviewGap;
    case Side::Above:
        return main.top() - room.top() - kOverviewGap;
    }
    return 0;
}

bool across(Side side) {
    return side == Side::Right || side == Side::Left;
}

// Keeps [start, start + length) on the screen's span [low, high] where it fits.
int clampInto(int start, int length, int low, int high) {
    return std::clamp(start, low, std::max(low, high - length + 1));
}

QRect placeOn(Side side, const QRect& main, const QRect& room, QSize size) {
    QRect r(QPoint(0, 0), size);
    switch (side) {
    case Side::Right:
        r.moveLeft(main.right() + 1 + kOverviewGap);
        break;
    case Side::Left:
        r.moveRight(main.left() - 1 - kOverviewGap);
        break;
    case Side::Below:
        r.moveTop(main.bottom() + 1 + kOverviewGap);
        break;
    case Side::Above:
        r.moveBottom(main.top() - 1 - kOverviewGap);
        break;
    }
    if (across(side))
        r.moveTop(clampInto(main.top(), r.height(), room.top(), room.bottom()));
    else
        r.moveLeft(clampInto(main.left(), r.width(), room.left(), room.right()));
    return r;
}

} // namespace

QRect overviewPlacement(const QRect& main, const QRect& room, QSize preferred, QSize minimum) {
    preferred = preferred.expandedTo(minimum);
    constexpr std::array<Side, 4> kOrder{Side::Right, Side::Left, Side::Below, Side::Above};
    for (const Side side : kOrder) {
        const int free = roomOn(side, main, room);
        QSize size = preferred;
        if (across(side)) {
            if (free < minimum.width()) continue;
            size.setWidth(std::min(size.width(), free));
            size.setHeight(std::max(minimum.height(), std::min(size.height(), room.height())));
        } else {
            if (free < minimum.height()) continue;
            // Below or above it lines up with the main window, as wide as it.
            size.setWidth(std::max(minimum.width(), std::min({main.width(), room.width()})));
            size.setHeight(std::min(size.height(), free));
        }
        return placeOn(side, main, room, size);
    }
    // No side has room: the one with the most, at the smallest size, still clear of the main window.
    Side best = Side::Right;
    double bestShare = -1e9;
    for (const Side side : kOrder) {
        const double share = static_cast<double>(roomOn(side, main, room)) /
                             (across(side) ? minimum.width() : minimum.height());
        if (share > bestShare) {
            bestShare = share;
            best = side;
        }
    }
    return placeOn(best, main, room, minimum);
}

} // namespace pelix::overview
