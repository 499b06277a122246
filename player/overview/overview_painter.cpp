#include "player/overview/overview_painter.h"

#include "ascanview/render/ascan_colors.h"
#include "core/overview/overview_columns.h"
#include "player/overview/bookmark_marks.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace pelix::overview {

namespace {

// The A-scan control's own gate colours, so the curves read as the gates on screen.
const QColor kGateA(QRgb{ascanview::ascan_colors::kGateA});
const QColor kGateB(QRgb{ascanview::ascan_colors::kGateB});
const QColor kFlag(255, 0, 0);
const QColor kMatch(255, 140, 0);
const QColor kGrid(200, 200, 200);
// Purple: apart from the gates' green and blue, the flags' red and the matches' orange.
const QColor kIndication(156, 39, 176);
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

// One small triangle a column however many bookmarks share it, hanging from the top edge
// with its point on the frame's column; all of them filled as one path.
void drawBookmarks(QPainter& painter, const QRect& plot, const std::vector<int32_t>& frames,
                   int32_t frameCount, int top) {
    if (frames.empty() || frameCount < 1) return;
    constexpr int kHalfWidth = 3;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    int lastX = -1;
    for (const int32_t f : frames) {
        if (f < 1 || f > frameCount) continue;
        const int x = plot.left() + columnOfFrame(f, plot.width(), frameCount);
        if (x == lastX) continue;
        lastX = x;
        path.moveTo(x - kHalfWidth, top);
        path.lineTo(x + kHalfWidth, top);
        path.lineTo(x, top + kMarkBand - 1);
        path.closeSubpath();
    }
    painter.setPen(QPen(bookmarkOutline(), 1));
    painter.setBrush(bookmarkColour());
    painter.drawPath(path);
    painter.setBrush(Qt::NoBrush);
}

// Each column at most once however many indications share it: a band where a drop extent
// covers the column, a tick where a peak falls.
// The bands go behind the series, the ticks over it.
enum class IndicationPart { Bands, Peaks };
void drawIndications(QPainter& painter, const QRect& plot, const std::vector<IndicationMark>& marks,
                     int32_t frameCount, IndicationPart part) {
    if (marks.empty() || frameCount < 1) return;
    const auto width = static_cast<std::size_t>(plot.width());
    enum : uint8_t { kBand = 1, kPeak = 2 };
    std::vector<uint8_t> columns(width, 0);
    const auto columnOf = [&](int32_t f) {
        return static_cast<std::size_t>(
            columnOfFrame(std::clamp(f, 1, frameCount), plot.width(), frameCount));
    };
    // Extents may overlap by the thousand: each adds one start and one end, and a running
    // count over the columns gives the bands, so a repaint costs marks + width whatever they cover.
    std::vector<int32_t> opened(width + 1, 0);
    for (const IndicationMark& m : marks) {
        if (m.dropLast < 1 || m.dropFirst > frameCount || m.dropFirst > m.dropLast) continue;
        ++opened[std::min(columnOf(m.dropFirst), width - 1)];
        --opened[std::min(columnOf(m.dropLast), width - 1) + 1];
        if (m.peakFrame >= 1 && m.peakFrame <= frameCount)
            columns[std::min(columnOf(m.peakFrame), width - 1)] |= kPeak;
    }
    int32_t open = 0;
    for (std::size_t x = 0; x < width; ++x) {
        open += opened[x];
        if (open > 0) columns[x] |= kBand;
    }
    if (part == IndicationPart::Peaks) {
        painter.setPen(QPen(kIndication, 1));
        for (std::size_t x = 0; x < width; ++x)
            if (columns[x] & kPeak) {
                const int px = plot.left() + static_cast<int>(x);
                painter.drawLine(px, plot.top(), px, plot.top() + plot.height() / 4);
            }
        return;
    }
    QColor band = kIndication;
    band.setAlpha(48);
    for (std::size_t x = 0; x < width;) {
        if (!(columns[x] & kBand)) {
            ++x;
            continue;
        }
        std::size_t end = x;
        while (end < width && (columns[end] & kBand))
            ++end;
        painter.fillRect(
            QRect(plot.left() + static_cast<int>(x), plot.top(), static_cast<int>(end - x), plot.height()),
            band);
        x = end;
    }
}

} // namespace

QColor indicationColour() {
    return kIndication;
}

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
        drawIndications(painter, plot, marks.indications, n, IndicationPart::Bands);
        drawBand(painter, plot, columns->gateB, kGateB);
        drawBand(painter, plot, columns->gateA, kGateA.darker(130));
        drawIndications(painter, plot, marks.indications, n, IndicationPart::Peaks);
        // A flag's tick on a bookmarked frame shows through the bookmark's triangle.
        drawBookmarks(painter, plot, marks.bookmarks, n, bounds.top());
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
