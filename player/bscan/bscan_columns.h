// Where the frames of a B-scan lie across the window: the grid's columns
// stretched over the cells' width in widget pixels (the grid is scanned at
// device pixels, so at 200 % two columns share a logical pixel). A click
// shows a frame of the column under it; a drag takes every frame of the
// columns it covers. No Qt.
#pragma once

#include <cstdint>

namespace pelix::bscan {

struct FrameSpan {
    int32_t first = 0; // 1-based, inclusive; 0: none
    int32_t last = 0;
};

// Columns first..last, 0-based; empty when last < first.
struct ColumnRange {
    int32_t first = 0;
    int32_t last = -1;
    bool empty() const { return last < first; }
};

struct BscanColumns {
    double left = 0.0;  // the cells' left edge, widget pixels
    double width = 0.0; // the cells' width, widget pixels
    int32_t columns = 0;
    int32_t from = 0; // the grid's frames
    int32_t to = 0;

    bool valid() const { return width > 0.0 && columns > 0 && from >= 1 && to >= from; }
    int64_t frameCount() const { return int64_t{to} - from + 1; }
    // The column under x, clamped to the grid.
    int32_t columnAt(double x) const;
    // The left edge of column c (c == columns: the right edge of the last).
    double xOf(int32_t column) const;
    // The frame a click at x shows: the first frame at the left edge, the last
    // at the right edge, always one of the frames of the column under x.
    int32_t frameAt(double x) const;
    // Every frame of the columns between x1 and x2, in either order.
    FrameSpan framesBetween(double x1, double x2) const;
    // The columns that show `frame`; none outside the grid's frames.
    ColumnRange columnsOf(int32_t frame) const;
};

} // namespace pelix::bscan
