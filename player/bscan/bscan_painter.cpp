#include "player/bscan/bscan_painter.h"

#include "ascanview/render/ascan_colors.h"
#include "core/bscan/cell_colours.h"
#include "player/overview/bookmark_marks.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>

namespace pelix::bscan {

namespace {

// Room around the cells: the sample axis on the left, the title above, the
// frame axis (frames, then seconds) below, the colour bar on the right.
constexpr int kLeft = kPictureCellsLeft;
constexpr int kTop = kPictureCellsTop;
constexpr int kBottom = 46;
constexpr int kBarGap = 14;
constexpr int kBarWidth = 14;
constexpr int kRight = kBarGap + kBarWidth + 48;
constexpr int kTick = 4;
constexpr int kFontPixels = 11;
// The colour bar and the axes need some height to say anything.
constexpr int kLeastPlotHeight = 120;
const QColor kNoCells(224, 224, 224); // a column no whole frame fills
const QColor kInk(0, 0, 0);

QFont pictureFont() {
    QFont font;
    font.setPixelSize(kFontPixels);
    return font;
}

// A step of 1, 2 or 5 times a power of ten giving about `wanted` ticks over `span`.
double tickStep(double span, int wanted) {
    if (!(span > 0.0) || wanted < 1) return 1.0;
    const double raw = span / wanted;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) return m * power;
    return 10.0 * power;
}

// Decimals that show a step of that size.
int decimalsFor(double step) {
    return step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
}

// The halo under a thin line: dark under a light colour, light under a dark
// one, so that every line reads on every colour of the map, from its dark
// violet to its yellow (the line's own colour stands out where the halo does not).
QColor haloFor(const QColor& line) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance =
        0.2126 * linear(line.redF()) + 0.7152 * linear(line.greenF()) + 0.0722 * linear(line.blueF());
    // Whichever of black and white contrasts more with the line.
    return (luminance + 0.05) / 0.05 >= 1.05 / (luminance + 0.05) ? QColor(0, 0, 0) : QColor(255, 255, 255);
}

// One gate edge across the columns as a stepped line; a column where the gate
// is off breaks it.
class EdgeLine {
  public:
    void add(double x1, double x2, std::optional<double> y) {
        if (!y) {
            finish();
            return;
        }
        m_current << QPointF(x1, *y) << QPointF(x2, *y);
    }
    void finish() {
        if (!m_current.isEmpty()) m_lines.push_back(m_current);
        m_current.clear();
    }
    // The halo is the line again one pixel above and one below it.
    void draw(QPainter& painter, const QColor& colour, bool halo) {
        finish();
        painter.setPen(QPen(halo ? haloFor(colour) : colour, 1.0));
        for (const QPolygonF& line : m_lines) {
            if (!halo) {
                painter.drawPolyline(line);
                continue;
            }
            painter.drawPolyline(line.translated(0.0, -1.0));
            painter.drawPolyline(line.translated(0.0, 1.0));
        }
    }

  private:
    QPolygonF m_current;
    std::vector<QPolygonF> m_lines;
};

void drawGates(QPainter& painter, const BscanPicture& picture, const BscanColumns& columns,
               const QRect& cells) {
    if (picture.gates.size() != static_cast<std::size_t>(columns.columns)) return;
    EdgeLine aStart, aEnd, bStart, bEnd;
    const auto yOf = [&](std::optional<float> at) -> std::optional<double> {
        if (!at) return std::nullopt;
        const double y = cells.top() + axisFraction(picture.axis, *at) * cells.height();
        // An edge outside the display window is not on the picture, and neither is its halo
        // (nor can a value far outside overflow the painter).
        if (!std::isfinite(y) || y < cells.top() || y > cells.top() + cells.height()) return std::nullopt;
        return y;
    };
    for (int32_t c = 0; c < columns.columns; ++c) {
        const GateEdges& e = picture.gates[static_cast<std::size_t>(c)];
        const double x1 = columns.xOf(c), x2 = columns.xOf(c + 1);
        aStart.add(x1, x2, yOf(e.aStart));
        aEnd.add(x1, x2, yOf(e.aEnd));
        bStart.add(x1, x2, yOf(e.bStart));
        bEnd.add(x1, x2, yOf(e.bEnd));
    }
    painter.save();
    painter.setClipRect(cells);
    const QColor a = QColor::fromRgb(static_cast<QRgb>(ascanview::ascan_colors::kGateA));
    const QColor b = QColor::fromRgb(static_cast<QRgb>(ascanview::ascan_colors::kGateB));
    // Every halo first, so a gate's line is never covered by the other gate's halo.
    for (const bool halo : {true, false}) {
        bStart.draw(painter, b, halo);
        bEnd.draw(painter, b, halo);
        aStart.draw(painter, a, halo);
        aEnd.draw(painter, a, halo);
    }
    painter.restore();
}

// The sample axis: the display window from its start, in the recording's units.
void drawSampleAxis(QPainter& painter, const QRect& cells, const SampleAxis& axis) {
    const QFontMetrics metrics(painter.font());
    const double start = axis.labelStart, span = axis.labelSpan;
    const double step = tickStep(span, std::max(4, cells.height() / 40));
    const int decimals = decimalsFor(step);
    const int labelRight = cells.left() - kTick - 3;
    for (double u = std::ceil(start / step - 1e-9) * step; u <= start + span + step * 1e-9; u += step) {
        const int y = cells.top() + static_cast<int>(std::lround((u - start) / span * cells.height()));
        painter.drawLine(cells.left() - kTick, y, cells.left() - 1, y);
        painter.drawText(QRect(0, y - metrics.height() / 2, labelRight, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(u, 'f', decimals));
    }
    painter.drawText(QRect(0, cells.top() - kTop, labelRight, kTop), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromUtf8(axis.unit));
}

// The frame axis: frame numbers, and below them the seconds from the start of the recording.
void drawFrameAxis(QPainter& painter, const QRect& area, const QRect& cells, const BscanGrid& grid,
                   int32_t framesPerSecond) {
    const QFontMetrics metrics(painter.font());
    const int64_t n = int64_t{grid.to()} - grid.from() + 1;
    const int y = cells.top() + cells.height();
    const int lineHeight = metrics.height();
    const int wanted = std::max(2, cells.width() / 80);
    const auto step = static_cast<int64_t>(std::max(1.0, tickStep(static_cast<double>(n), wanted)));
    const int64_t firstTick = (grid.from() + step - 1) / step * step;
    const int rightmost = area.right();
    int freeFrom = cells.left(); // labels never run into the captions or into each other
    // The tick stands at the left edge of the frame's columns (of the column holding it).
    for (int64_t f = firstTick == 0 ? step : firstTick; f <= grid.to(); f += step) {
        const int x = cells.left() + static_cast<int>((f - grid.from()) * cells.width() / n);
        painter.drawLine(x, y, x, y + kTick);
        const QString frameText = QString::number(f);
        const double seconds = static_cast<double>(f - 1) / std::max(1, framesPerSecond);
        const QString secondsText = QString::number(seconds, 'f', 2) + QStringLiteral(" s");
        const int w =
            std::max(metrics.horizontalAdvance(frameText), metrics.horizontalAdvance(secondsText)) + 4;
        const int left = std::min(std::max(x - w / 2, freeFrom), rightmost - w);
        if (left < freeFrom) continue;
        freeFrom = left + w + 6;
        painter.drawText(QRect(left, y + kTick + 1, w, lineHeight), Qt::AlignCenter, frameText);
        painter.drawText(QRect(left, y + kTick + 1 + lineHeight, w, lineHeight), Qt::AlignCenter,
                         secondsText);
    }
    const int captionRight = cells.left() - kTick - 3;
    painter.drawText(QRect(area.left(), y + kTick + 1, captionRight - area.left(), lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("frame"));
    painter.drawText(QRect(area.left(), y + kTick + 1 + lineHeight, captionRight - area.left(), lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("time"));
}

// The colour bar: full scale at the top, 0 at the bottom, in percent of the screen height.
void drawColourBar(QPainter& painter, const QRect& cells, const BscanGrid& grid) {
    const QFontMetrics metrics(painter.font());
    const int full = fullScale(grid.scale());
    const QRect bar(cells.right() + 1 + kBarGap, cells.top(), kBarWidth,
                    std::max(cells.height(), kLeastPlotHeight));
    for (int y = 0; y < bar.height(); ++y) {
        const double t = bar.height() > 1 ? 1.0 - static_cast<double>(y) / (bar.height() - 1) : 1.0;
        painter.setPen(QColor::fromRgb(cellColour(t)));
        painter.drawLine(bar.left(), bar.top() + y, bar.right(), bar.top() + y);
    }
    painter.setPen(kInk);
    painter.drawRect(bar.adjusted(0, 0, -1, -1));
    const int step = full == 100 ? 20 : 10;
    for (int v = 0; v <= full; v += step) {
        const int y =
            bar.bottom() - static_cast<int>(std::lround(static_cast<double>(v) / full * (bar.height() - 1)));
        painter.drawLine(bar.right() + 1, y, bar.right() + kTick, y);
        painter.drawText(QRect(bar.right() + kTick + 3, y - metrics.height() / 2, 44, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         QString::number(v) + (v + step > full ? " %" : ""));
    }
}

// A thin vertical line that reads on every colour: white on a black halo.
void drawCursor(QPainter& painter, const QRect& cells, double x) {
    painter.setPen(QPen(QColor(0, 0, 0), 3.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, cells.top()), QPointF(x, cells.bottom() + 1));
    painter.setPen(QPen(QColor(255, 255, 255), 1.0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(x, cells.top()), QPointF(x, cells.bottom() + 1));
}

void drawMarks(QPainter& painter, const QRect& cells, const BscanColumns& columns, const BscanMarks& marks) {
    painter.save();
    painter.setClipRect(cells.adjusted(-1, 0, 1, 0));
    if (marks.selection.first > 0) {
        const ColumnRange first = columns.columnsOf(std::max(marks.selection.first, columns.from));
        const ColumnRange last = columns.columnsOf(std::min(marks.selection.last, columns.to));
        if (!first.empty() && !last.empty() && first.first <= last.last) {
            const QRectF band(QPointF(columns.xOf(first.first), cells.top()),
                              QPointF(columns.xOf(last.last + 1), cells.bottom() + 1));
            painter.fillRect(band, QColor(255, 255, 255, 80));
            painter.setPen(QPen(QColor(255, 255, 255), 1.0));
            painter.drawLine(band.topLeft(), band.bottomLeft());
            painter.drawLine(band.topRight(), band.bottomRight());
        }
    }
    const ColumnRange cursor = columns.columnsOf(marks.cursorFrame);
    if (!cursor.empty())
        drawCursor(painter, cells, (columns.xOf(cursor.first) + columns.xOf(cursor.last + 1)) / 2.0);
    painter.restore();
}

// Bookmarks as small triangles above the cells, pointing down at their columns: over the
// cells they would hide the echoes they mark. One a pixel column, all filled as one path.
void drawBookmarks(QPainter& painter, const QRect& cells, const BscanColumns& columns,
                   const std::vector<int32_t>& frames) {
    if (frames.empty() || !columns.valid()) return;
    // Flat enough to stay under the title's baseline in the band above the cells.
    constexpr double kHalfWidth = 4.0;
    constexpr double kHeight = 5.0;
    const double tip = cells.top() - 2.0; // just above the frame around the cells
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    long lastX = -1;
    for (const int32_t f : frames) {
        const ColumnRange span = columns.columnsOf(f);
        if (span.empty()) continue;
        const double x = std::floor((columns.xOf(span.first) + columns.xOf(span.last + 1)) / 2.0) + 0.5;
        if (std::lround(x) == lastX) continue;
        lastX = std::lround(x);
        path.moveTo(x - kHalfWidth, tip - kHeight);
        path.lineTo(x + kHalfWidth, tip - kHeight);
        path.lineTo(x, tip);
        path.closeSubpath();
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(overview::bookmarkOutline(), 1.0));
    painter.setBrush(overview::bookmarkColour());
    painter.drawPath(path);
    painter.restore();
}

QString titleOf(const BscanPicture& picture) {
    const BscanGrid& grid = *picture.grid;
    return QStringLiteral("Frames %1..%2 of %3, %4 x %5 cells")
        .arg(grid.from())
        .arg(grid.to())
        .arg(picture.frameCount)
        .arg(grid.width())
        .arg(grid.height());
}

QImage cellImage(const BscanGrid& grid) {
    const int full = fullScale(grid.scale());
    std::vector<QRgb> colours(static_cast<std::size_t>(full) + 1);
    for (int v = 0; v <= full; ++v)
        colours[static_cast<std::size_t>(v)] = 0xff000000u | cellColour(static_cast<double>(v) / full);
    QImage cells(grid.width(), grid.height(), QImage::Format_RGB32);
    for (int32_t r = 0; r < grid.height(); ++r) {
        auto* line = reinterpret_cast<QRgb*>(cells.scanLine(r));
        for (int32_t c = 0; c < grid.width(); ++c)
            line[c] = grid.hasValue(c) ? colours[std::min<std::size_t>(grid.cell(r, c), colours.size() - 1)]
                                       : kNoCells.rgb();
    }
    return cells;
}

} // namespace

BscanPicture makeBscanPicture(std::shared_ptr<const BscanGrid> grid, std::vector<GateEdges> gates,
                              const SampleAxis& axis, int32_t framesPerSecond, int32_t frameCount) {
    BscanPicture picture;
    picture.cells = grid ? cellImage(*grid) : QImage();
    picture.grid = std::move(grid);
    picture.gates = std::move(gates);
    picture.axis = axis;
    picture.framesPerSecond = framesPerSecond;
    picture.frameCount = frameCount;
    return picture;
}

QRect bscanCellsIn(const QRect& area) {
    return area.adjusted(kLeft, kTop, -kRight, -kBottom);
}

BscanColumns bscanColumns(const BscanPicture& picture, const QRect& cells) {
    if (!picture.grid) return {};
    const BscanGrid& grid = *picture.grid;
    return {static_cast<double>(cells.left()), static_cast<double>(cells.width()), grid.width(), grid.from(),
            grid.to()};
}

void paintBscan(QPainter& painter, const QRect& area, const QRect& cells, const BscanPicture& picture,
                const BscanMarks& marks) {
    painter.save();
    painter.fillRect(area, Qt::white);
    if (!picture.grid || cells.width() < 1 || cells.height() < 1) {
        painter.restore();
        return;
    }
    const BscanGrid& grid = *picture.grid;
    painter.setFont(pictureFont());
    // Nearest cell, never blended: a one-frame echo keeps its colour when stretched.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(cells), picture.cells);
    const BscanColumns columns = bscanColumns(picture, cells);
    drawGates(painter, picture, columns, cells);
    // A frame one pixel wide just outside the cells, as filled strips so that at
    // any scale it meets the cells without a gap.
    const QRect frame = cells.adjusted(-1, -1, 1, 1);
    painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), 1), kInk);
    painter.fillRect(QRect(frame.left(), frame.bottom(), frame.width(), 1), kInk);
    painter.fillRect(QRect(frame.left(), frame.top(), 1, frame.height()), kInk);
    painter.fillRect(QRect(frame.right(), frame.top(), 1, frame.height()), kInk);
    painter.setPen(kInk);
    drawSampleAxis(painter, cells, picture.axis);
    drawFrameAxis(painter, area, cells, grid, picture.framesPerSecond);
    drawColourBar(painter, cells, grid);
    const QString title = titleOf(picture);
    painter.drawText(QRect(cells.left(), cells.top() - kTop, std::max(area.right() - cells.left(), 0), kTop),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    drawMarks(painter, cells, columns, marks);
    drawBookmarks(painter, cells, columns, marks.bookmarks);
    painter.restore();
}

QImage bscanImage(const BscanPicture& picture) {
    if (!picture.grid) return {};
    const BscanGrid& grid = *picture.grid;
    const int titleWidth = QFontMetrics(pictureFont()).horizontalAdvance(titleOf(picture)) + 8;
    const int plotHeight = std::max(grid.height(), kLeastPlotHeight);
    QImage image(kLeft + std::max(grid.width() + kRight, titleWidth), kTop + plotHeight + kBottom,
                 QImage::Format_RGB32);
    QPainter painter(&image);
    paintBscan(painter, image.rect(), QRect(kLeft, kTop, grid.width(), grid.height()), picture);
    return image;
}

} // namespace pelix::bscan
