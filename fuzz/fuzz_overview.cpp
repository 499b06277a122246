// Arbitrary bytes as a recording, for its overview: the header scan of
// pelix overview and the overview window (gate amplitudes and flags of every
// frame), the strip drawn as pelix overview -o draws it, and the strip's
// column arithmetic checked against what it promises: a click on a column
// shows one of that column's frames, and the cursor of a frame stands on a
// column that holds the frame.
//
// Parameters (8 bytes before the recording): the strip's width and height
// (16 bits each, held to 16..2048 and 16..256 pixels), the frame under the
// cursor and one search match (16 bits each, taken modulo the frame count).
#include "core/overview/overview_columns.h"
#include "core/overview/overview_series.h"
#include "core/recording/open_recording.h"
#include "fuzz/fuzz_input.h"
#include "fuzz/fuzz_window.h"
#include "player/overview/overview_painter.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace pelix;
using namespace pelix::overview;
using namespace pelix::recording;

const std::size_t pelix::fuzz::kParameterBytes = 8;

namespace {

[[noreturn]] void broken(const char* what, int64_t a, int64_t b) {
    std::fprintf(stderr, "overview: %s (%lld, %lld)\n", what, static_cast<long long>(a),
                 static_cast<long long>(b));
    std::abort();
}

void checkSeries(const OverviewSeries& s, const OpenRecording& rec) {
    if (s.frameCount() != rec.FrameCount())
        broken("frame count differs from the recording's", s.frameCount(), rec.FrameCount());
    // The report looks flags up by binary search: ascending, each a frame of the recording.
    for (std::size_t i = 0; i < s.flags().size(); ++i) {
        const int32_t f = s.flags()[i];
        if (f < 1 || f > s.frameCount() || (i > 0 && s.flags()[i - 1] >= f))
            broken("flag out of order or range", f, s.frameCount());
    }
    for (int32_t f = 1; f <= std::min(s.frameCount(), 4096); ++f)
        for (const Gate g : {Gate::A, Gate::B})
            (void)s.amplitude(g, f);
}

void checkColumns(const OverviewSeries& s, int width) {
    const int32_t n = s.frameCount();
    if (n < 1 || width < 1) return;
    for (int x = 0; x < width; ++x) {
        const ColumnFrames frames = framesOfColumn(x, width, n);
        const int32_t clicked = frameAtColumn(x, width, n);
        if (frames.first < 1 || frames.last > n || frames.first > frames.last)
            broken("column frames", frames.first, frames.last);
        if (clicked < frames.first || clicked > frames.last)
            broken("a click shows a frame outside its column", x, clicked);
    }
    for (int32_t f = 1; f <= std::min(n, 4096); ++f) {
        const int x = columnOfFrame(f, width, n);
        if (x < 0 || x >= width) broken("cursor column outside the strip", f, x);
        const ColumnFrames frames = framesOfColumn(x, width, n);
        if (f < frames.first || f > frames.last) broken("cursor on a column without its frame", f, x);
    }
    for (const Gate g : {Gate::A, Gate::B}) {
        const std::vector<ColumnSpan> spans = decimate(s, g, width);
        if (spans.size() != static_cast<std::size_t>(width))
            broken("columns", static_cast<int64_t>(spans.size()), width);
        for (const ColumnSpan& c : spans)
            if (c.any && c.low > c.high) broken("column span upside down", c.low, c.high);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startOffscreenApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const int width = 16 + input.take<uint16_t>() % 2033;
    const int height = 16 + input.take<uint16_t>() % 241;
    const auto cursor = input.take<uint16_t>();
    const auto match = input.take<uint16_t>();

    // As pelix overview: the scan finds the flags itself.
    const OpenOutcome outcome = OpenRecording::open(input.writeRecording(), OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return 0;
    const OpenRecording& rec = *outcome.recording;
    const OverviewSeries series = scanOverview(rec.file(), frameRecordLayout(rec));
    checkSeries(series, rec);

    QImage image(width, height, QImage::Format_RGB32);
    const QRect bounds = image.rect();
    checkColumns(series, plotArea(bounds).width());
    OverviewMarks marks;
    marks.currentFrame = cursor % (series.frameCount() + 1); // 0: no cursor
    marks.searchMatches = {1 + match % series.frameCount(), series.frameCount()};
    QPainter painter(&image);
    paintOverview(painter, bounds, series, marks);
    return 0;
}
