#include "player/overview/overview_painter.h"

#include "ascanview/render/ascan_colors.h"
#include "core/overview/overview_columns.h"

#include <QPainter>

#include <algorithm>

namespace pelix::overview {

namespace {

// The A-scan control's own gate colours, so the curves read as the gates on screen.
const QColor kGateA(QRgb{ascanview::ascan_colors::kGateA});
const QColor kGateB(QRgb{ascanview::ascan_colors::kGateB});
const QColor kFlag(255, 0, 0);
const QColor kMatch(255, 140, 0);
const QColor kGrid(200, 200, 200);
constexpr int kMarkBand = 6; // pixels above and below the plot for flags and matches

int yOf(const QRect& plot, int32_t percent) {
    const int32_t p = std::clamp<int32_t>(percent, 0, 100);
    return plot.bottom() - static_cast<int>(static_cast<int64_t>(p) * (plot.height() - 1) / 100);
}

void drawBand(QPainter& painter, const QRect& plot, const std::vector<ColumnSpan>& columns,
              const QColor& colour) {
    painter.setPen(colour);
    for (std::size_t x = 0; x < columns.size(); ++x) {
        const ColumnSpan& c = columns[x];
        if (!c.any) continue;
        const int px = plot.left() + static_cast<int>(x);
        painter.drawLine(px, yOf(plot, c.high), px, yOf(plot, c.low));
    }
}

void drawTicks(QPainter& painter, const QRect& plot, const std::vector<int32_t>& frames, int32_t frameCount,
               int top, const QColor& colour) {
    if (frames.empty() || frameCount < 1) return;
    painter.setPen(colour);
    int lastX = -1;
    // Marks in frame order let neighbours in one column be drawn once.
    std::vector<int32_t> copy;
    const std::vector<int32_t>* sorted = &frames;
    if (!std::is_sorted(frames.begin(), frames.end())) {
        copy = frames;
        std::sort(copy.begin(), copy.end());
        sorted = &copy;
    }
    for (const int32_t f : *sorted) {
        if (f < 1 || f > frameCount) continue;
        const int x = plot.left() + columnOfFrame(f, plot.width(), frameCount);
        if (x == lastX) continue;
        lastX = x;
        painter.drawLine(x, top, x, top + kMarkBand - 2);
    }
}

} // namespace

OverviewColumns overviewColumns(const OverviewSeries& series, int width) {
    return {width, decimate(series, Gate::A, width), decimate(series, Gate::B, width)};
}

QRect plotArea(const QRect& bounds) {
    return bounds.adjusted(1, kMarkBand + 1, -1, -(kMarkBand + 1));
}

void paintOverview(QPainter& painter, const QRect& bounds, const OverviewSeries& series,
                   const OverviewMarks& marks, const OverviewColumns* columns) {
    painter.save();
    painter.fillRect(bounds, Qt::white);
    const QRect plot = plotArea(bounds);
    if (plot.width() < 1 || plot.height() < 2) {
        painter.restore();
        return;
    }
    painter.setPen(kGrid);
    for (const int32_t percent : {25, 50, 75, 100})
        painter.drawLine(plot.left(), yOf(plot, percent), plot.right(), yOf(plot, percent));
    painter.setPen(Qt::gray);
    painter.drawRect(plot.adjusted(-1, -1, 0, 0));

    const int32_t n = series.frameCount();
    if (n >= 1) {
        // Gate B first: gate A is the gate most readings use and stays on top.
        OverviewColumns own;
        if (!columns || columns->width != plot.width()) {
            own = overviewColumns(series, plot.width());
            columns = &own;
        }
        drawBand(painter, plot, columns->gateB, kGateB);
        drawBand(painter, plot, columns->gateA, kGateA.darker(130));
        drawTicks(painter, plot, series.flags(), n, bounds.top() + 1, kFlag);
        drawTicks(painter, plot, marks.searchMatches, n, plot.bottom() + 2, kMatch);
        if (marks.currentFrame >= 1 && marks.currentFrame <= n) {
            const int x = plot.left() + columnOfFrame(marks.currentFrame, plot.width(), n);
            painter.setPen(QPen(Qt::black, 1));
            painter.drawLine(x, bounds.top(), x, bounds.bottom());
        }
    }
    painter.restore();
}

} // namespace pelix::overview
