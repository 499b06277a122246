// How a strip `width` pixels wide shows `frameCount` frames: column x holds
// the frames from x·N/W up to (x+1)·N/W (0-based, rounded down; at least one
// frame), and each column shows the lowest and highest amplitude of its frames,
// so a one-frame echo stays visible however long the recording is.
#pragma once

#include "core/overview/overview_series.h"

#include <cstdint>
#include <vector>

namespace pelix::overview {

struct ColumnFrames {
    int32_t first = 1; // 1-based, inclusive
    int32_t last = 1;
};

struct ColumnSpan {
    bool any = false; // false: the gate is off in every frame of the column
    int32_t low = 0;
    int32_t high = 0;
};

// Frames of column x (0 <= x < width); requires frameCount >= 1 and width >= 1.
ColumnFrames framesOfColumn(int64_t x, int64_t width, int64_t frameCount);
// The column whose frames hold `frame` (the first such column when frames are wider than a pixel).
int columnOfFrame(int64_t frame, int64_t width, int64_t frameCount);
// The frame a click at column x shows: frame 1 at the left edge, the last at the
// right edge and in between the frame at the same fraction of the recording,
// always one of the frames the column shows.
int32_t frameAtColumn(int64_t x, int64_t width, int64_t frameCount);

// Lowest and highest recorded amplitude of each column.
std::vector<ColumnSpan> decimate(const OverviewSeries& series, Gate gate, int width);

} // namespace pelix::overview
