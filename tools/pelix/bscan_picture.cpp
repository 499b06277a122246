#include "tools/pelix/bscan_picture.h"

#include "ascanview/render/ascan_colors.h"
#include "core/bscan/bscan_grid.h"
#include "core/bscan/cell_colours.h"
#include "core/files/output_file.h"
#include "core/frame/frame_arithmetic.h"
#include "core/frame/frame_view.h"
#include "core/recording/frame_header.h"
#include "core/recording/open_recording.h"
#include "player/export/output_device.h"
#include "tools/pelix/headless_application.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

// Room around the cells: the sample axis on the left, the title above, the
// frame axis (frames, then seconds) below, the colour bar on the right.
constexpr int kLeft = kCellsLeft;
constexpr int kTop = kCellsTop;
constexpr int kBottom = 46;
constexpr int kBarGap = 14;
constexpr int kBarWidth = 14;
constexpr int kRight = kBarGap + kBarWidth + 48;
constexpr int kTick = 4;
// The colour bar and the axes need some height to say anything.
constexpr int kLeastPlotHeight = 120;
const QColor kNoCells(224, 224, 224); // a column no whole frame fills
const QColor kInk(0, 0, 0);

QColor colourOf(ascanview::Rgb rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
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

// The edges of the two gates of one frame, in display units, while shown.
struct GateEdges {
    std::optional<float> aStart, aEnd, bStart, bEnd;
};

GateEdges gateEdgesOf(OpenRecording& rec, int32_t frame) {
    FrameHeaderBytes bytes{};
    rec.seek(rec.recordOffset(frame));
    rec.readFrameHeader(bytes);
    if (rec.lastReadShort()) return {};
    const RecordingHeader& setup = rec.header();
    const FrameHeader f = decodeFrameHeader(bytes);
    const frame::UnitConstants units = frame::unitConstantsFor(setup.Units);
    const float aStart = frame::toDisplayUnits(f.GateAStart_um, units);
    GateEdges edges;
    if (f.GateAOn != 0) {
        edges.aStart = aStart;
        edges.aEnd = aStart + frame::toDisplayUnits(f.GateAWidth_um, units);
    }
    if (f.GateBOn != 0) {
        // A triggered gate B counts from gate A's echo, as the control draws it.
        const float caretOne = frame::toDisplayUnits(frame::soundPathA(setup, f), units);
        const float bStart = frame::absoluteGateBStart(
            setup, f, aStart, frame::toDisplayUnits(f.GateBStart_um, units), caretOne);
        edges.bStart = bStart;
        edges.bEnd = bStart + frame::toDisplayUnits(f.GateBWidth_um, units);
    }
    return edges;
}

// One gate edge across the columns as a stepped line; a column where the gate
// is off breaks it.
class EdgeLine {
  public:
    void add(double x, std::optional<double> y) {
        if (!y) {
            finish();
            return;
        }
        m_current << QPointF(x, *y) << QPointF(x + 1.0, *y);
    }
    void finish() {
        if (!m_current.isEmpty()) m_lines.push_back(m_current);
        m_current.clear();
    }
    void draw(QPainter& painter, const QColor& colour) {
        finish();
        painter.setPen(QPen(colour, 1.0));
        for (const QPolygonF& line : m_lines)
            painter.drawPolyline(line);
    }

  private:
    QPolygonF m_current;
    std::vector<QPolygonF> m_lines;
};

void drawCells(QPainter& painter, const bscan::BscanGrid& grid) {
    const int full = bscan::fullScale(grid.scale());
    std::vector<QRgb> colours(static_cast<std::size_t>(full) + 1);
    for (int v = 0; v <= full; ++v)
        colours[static_cast<std::size_t>(v)] = 0xff000000u | bscan::cellColour(static_cast<double>(v) / full);
    QImage cells(grid.width(), grid.height(), QImage::Format_RGB32);
    for (int32_t r = 0; r < grid.height(); ++r) {
        auto* line = reinterpret_cast<QRgb*>(cells.scanLine(r));
        for (int32_t c = 0; c < grid.width(); ++c)
            line[c] = grid.hasValue(c) ? colours[std::min<std::size_t>(grid.cell(r, c), colours.size() - 1)]
                                       : kNoCells.rgb();
    }
    painter.drawImage(kLeft, kTop, cells);
}

void drawGates(QPainter& painter, OpenRecording& rec, const bscan::BscanGrid& grid, const QRect& plot,
               const frame::ScaleView& scale) {
    EdgeLine aStart, aEnd, bStart, bEnd;
    const double perUnit = grid.height() / static_cast<double>(scale.fAscanRange);
    const auto yOf = [&](std::optional<float> at) -> std::optional<double> {
        if (!at) return std::nullopt;
        return plot.top() + (static_cast<double>(*at) - scale.fAscanDelay) * perUnit;
    };
    for (int32_t c = 0; c < grid.width(); ++c) {
        // A column shows its first frame's gates; one without cells shows none.
        const GateEdges e = grid.hasValue(c) ? gateEdgesOf(rec, grid.firstFrameOf(c)) : GateEdges{};
        const double x = plot.left() + c;
        aStart.add(x, yOf(e.aStart));
        aEnd.add(x, yOf(e.aEnd));
        bStart.add(x, yOf(e.bStart));
        bEnd.add(x, yOf(e.bEnd));
    }
    painter.save();
    painter.setClipRect(QRect(plot.left(), plot.top(), grid.width(), grid.height()));
    const QColor a = colourOf(ascanview::ascan_colors::kGateA), b = colourOf(ascanview::ascan_colors::kGateB);
    aStart.draw(painter, a);
    aEnd.draw(painter, a);
    bStart.draw(painter, b);
    bEnd.draw(painter, b);
    painter.restore();
}

// The sample axis: the display window from its delay, in the recording's units.
void drawSampleAxis(QPainter& painter, const bscan::BscanGrid& grid, const QRect& plot,
                    const frame::ScaleView& scale, const char* unitsText) {
    const QFontMetrics metrics(painter.font());
    const double delay = scale.fAscanDelay, range = scale.fAscanRange;
    const double step = tickStep(range, std::max(4, grid.height() / 40));
    const int decimals = decimalsFor(step);
    for (double u = std::ceil(delay / step - 1e-9) * step; u <= delay + range + step * 1e-9; u += step) {
        const int y = plot.top() + static_cast<int>(std::lround((u - delay) / range * grid.height()));
        painter.drawLine(plot.left() - kTick, y, plot.left() - 1, y);
        const QString text = QString::number(u, 'f', decimals);
        painter.drawText(QRect(0, y - metrics.height() / 2, plot.left() - kTick - 3, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, text);
    }
    painter.drawText(QRect(0, 0, plot.left() - kTick - 3, kTop), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromLatin1(unitsText).toLower());
}

// The frame axis: frame numbers, and below them the seconds from the start of the recording.
void drawFrameAxis(QPainter& painter, const bscan::BscanGrid& grid, const QRect& plot,
                   int32_t framesPerSecond) {
    const QFontMetrics metrics(painter.font());
    const int64_t n = int64_t{grid.to()} - grid.from() + 1;
    const int y = plot.top() + grid.height();
    const int lineHeight = metrics.height();
    const int wanted = std::max(2, grid.width() / 80);
    const auto step = static_cast<int64_t>(std::max(1.0, tickStep(static_cast<double>(n), wanted)));
    const int64_t firstTick = (grid.from() + step - 1) / step * step;
    const int rightmost = painter.device()->width() - 1;
    int freeFrom = plot.left(); // labels never run into the captions or into each other
    // The tick stands at the left edge of the frame's columns (of the column holding it).
    for (int64_t f = firstTick == 0 ? step : firstTick; f <= grid.to(); f += step) {
        const int x = plot.left() + static_cast<int>((f - grid.from()) * grid.width() / n);
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
    painter.drawText(QRect(0, y + kTick + 1, plot.left() - kTick - 3, lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("frame"));
    painter.drawText(QRect(0, y + kTick + 1 + lineHeight, plot.left() - kTick - 3, lineHeight),
                     Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("time"));
}

// The colour bar: full scale at the top, 0 at the bottom, in percent of the screen height.
void drawColourBar(QPainter& painter, const bscan::BscanGrid& grid, const QRect& plot) {
    const QFontMetrics metrics(painter.font());
    const int full = bscan::fullScale(grid.scale());
    const QRect bar(plot.left() + grid.width() + kBarGap, plot.top(), kBarWidth, plot.height());
    for (int y = 0; y < bar.height(); ++y) {
        const double t = bar.height() > 1 ? 1.0 - static_cast<double>(y) / (bar.height() - 1) : 1.0;
        painter.setPen(QColor::fromRgb(bscan::cellColour(t)));
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

} // namespace

QImage bscanPicture(OpenRecording& rec, const bscan::BscanGrid& grid) {
    const QString title = QStringLiteral("Frames %1..%2 of %3, %4 x %5 cells")
                              .arg(grid.from())
                              .arg(grid.to())
                              .arg(rec.FrameCount())
                              .arg(grid.width())
                              .arg(grid.height());
    QFont font;
    font.setPixelSize(11);
    const int titleWidth = QFontMetrics(font).horizontalAdvance(title) + 8;
    const int plotHeight = std::max(grid.height(), kLeastPlotHeight);
    QImage image(kLeft + std::max(grid.width() + kRight, titleWidth), kTop + plotHeight + kBottom,
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    const QRect plot(kLeft, kTop, grid.width(), plotHeight);
    frame::PanelView panel;
    frame::ScaleView scale;
    frame::describeUnitRows(rec.header(), rec.derived(), panel, scale);

    QPainter painter(&image);
    painter.setFont(font);
    drawCells(painter, grid);
    drawGates(painter, rec, grid, plot, scale);
    painter.setPen(kInk);
    painter.drawRect(QRect(plot.left() - 1, plot.top() - 1, grid.width() + 1, grid.height() + 1));
    drawSampleAxis(painter, grid, plot, scale, frame::unitConstantsFor(rec.header().Units).unitsText);
    drawFrameAxis(painter, grid, plot, rec.framesPerSecond());
    drawColourBar(painter, grid, plot);
    painter.drawText(QRect(plot.left(), 0, titleWidth, kTop), Qt::AlignLeft | Qt::AlignVCenter, title);
    return image;
}

bool writeBscanPicture(OpenRecording& rec, const bscan::BscanGrid& grid, files::OutputFile& png) {
    const auto app = startHeadlessApplication();
    const QImage image = bscanPicture(rec, grid);
    return player::saveImage(image, png) && png.commit();
}

} // namespace pelix::tool
