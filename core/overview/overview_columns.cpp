#include "core/overview/overview_columns.h"

#include <algorithm>

namespace pelix::overview {

ColumnFrames framesOfColumn(int64_t x, int64_t width, int64_t frameCount) {
    x = std::clamp<int64_t>(x, 0, width - 1);
    const int64_t begin = x * frameCount / width;
    const int64_t end = std::max(begin + 1, (x + 1) * frameCount / width);
    return {static_cast<int32_t>(begin + 1), static_cast<int32_t>(std::min(end, frameCount))};
}

int columnOfFrame(int64_t frame, int64_t width, int64_t frameCount) {
    if (frameCount < 1 || width < 1) return 0;
    const int64_t p = std::clamp<int64_t>(frame, 1, frameCount) - 1;
    // Many frames a column: the column whose range holds p. Frames wider than
    // a column: the first of the columns that show p.
    const int64_t x = frameCount >= width ? ((p + 1) * width + frameCount - 1) / frameCount - 1
                                          : (p * width + frameCount - 1) / frameCount;
    return static_cast<int>(std::clamp<int64_t>(x, 0, width - 1));
}

int32_t frameAtColumn(int64_t x, int64_t width, int64_t frameCount) {
    if (frameCount < 1) return 1;
    if (width < 2) return 1;
    x = std::clamp<int64_t>(x, 0, width - 1);
    // Rounded to the nearest frame: 0 -> 1, width - 1 -> frameCount.
    const int64_t p = (2 * x * (frameCount - 1) + (width - 1)) / (2 * (width - 1));
    const ColumnFrames c = framesOfColumn(x, width, frameCount);
    return static_cast<int32_t>(std::clamp<int64_t>(p + 1, c.first, c.last));
}

std::vector<ColumnSpan> decimate(const OverviewSeries& series, Gate gate, int width) {
    std::vector<ColumnSpan> columns(static_cast<std::size_t>(std::max(width, 0)));
    const int32_t n = series.frameCount();
    if (n < 1) return columns;
    for (int x = 0; x < width; ++x) {
        const ColumnFrames frames = framesOfColumn(x, width, n);
        ColumnSpan& c = columns[static_cast<std::size_t>(x)];
        for (int32_t f = frames.first; f <= frames.last; ++f) {
            const std::optional<int32_t> a = series.amplitude(gate, f);
            if (!a) continue;
            c.low = c.any ? std::min(c.low, *a) : *a;
            c.high = c.any ? std::max(c.high, *a) : *a;
            c.any = true;
        }
    }
    return columns;
}

} // namespace pelix::overview
