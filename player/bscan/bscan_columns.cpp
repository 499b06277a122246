#include "player/bscan/bscan_columns.h"

#include "core/overview/overview_columns.h"

#include <algorithm>
#include <cmath>

namespace pelix::bscan {

int32_t BscanColumns::columnAt(double x) const {
    if (!valid()) return 0;
    const double at = std::floor((x - left) * columns / width);
    if (!(at > 0.0)) return 0; // NaN too
    return static_cast<int32_t>(std::min<double>(at, columns - 1));
}

double BscanColumns::xOf(int32_t column) const {
    return columns > 0 ? left + width * column / columns : left;
}

int32_t BscanColumns::frameAt(double x) const {
    if (!valid()) return 0;
    return from - 1 + overview::frameAtColumn(columnAt(x), columns, frameCount());
}

FrameSpan BscanColumns::framesBetween(double x1, double x2) const {
    if (!valid()) return {};
    const int32_t c1 = columnAt(std::min(x1, x2)), c2 = columnAt(std::max(x1, x2));
    return {from - 1 + overview::framesOfColumn(c1, columns, frameCount()).first,
            from - 1 + overview::framesOfColumn(c2, columns, frameCount()).last};
}

ColumnRange BscanColumns::columnsOf(int32_t frame) const {
    if (!valid() || frame < from || frame > to) return {};
    const int64_t k = int64_t{frame} - from + 1, n = frameCount();
    const int32_t first = overview::columnOfFrame(k, columns, n);
    // With more columns than frames a frame spans up to the next frame's first column.
    const int32_t last =
        k < n ? std::max(first, overview::columnOfFrame(k + 1, columns, n) - 1) : columns - 1;
    return {first, n >= columns ? first : last};
}

} // namespace pelix::bscan
