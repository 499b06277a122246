#include "ascanview/render/surface_rasterizer.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace {

QColor toColor(Rgb color) {
    return QColor::fromRgb(static_cast<QRgb>(0xFF000000U | color));
}

bool sameStroke(const SurfaceOp& a, const SurfaceOp& b) {
    return a.color == b.color;
}

} // namespace

SurfaceRasterizer::SurfaceRasterizer() {
    m_polyline.reserve(8192);
    m_lines.reserve(1024);
    m_font.setFamily(QStringLiteral("Sans Serif"));
}

const QImage& SurfaceRasterizer::rasterize(const DrawingSurface& surface, QSize logicalSize,
                                           qreal devicePixelRatio) {
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize deviceSize(std::max(1, static_cast<int>(std::lround(logicalSize.width() * dpr))),
                           std::max(1, static_cast<int>(std::lround(logicalSize.height() * dpr))));
    if (m_image.size() != deviceSize || m_image.devicePixelRatio() != dpr) {
        m_image = QImage(deviceSize, QImage::Format_RGB32);
        m_image.setDevicePixelRatio(dpr);
    }

    const double width = surface.scaleWidth();
    const double height = surface.scaleHeight();
    const double sx = width > 0 ? deviceSize.width() / width : 0.0;
    const double sy = height > 0 ? deviceSize.height() / height : 0.0;
    // Lines are one logical pixel wide: crisp single device pixels at 100 %,
    // two at 200 %.
    const qreal penWidth = std::max<qreal>(1.0, std::round(dpr));
    const qreal half = penWidth / 2.0;
    auto mapX = [&](double x) { return x * sx; };
    auto mapY = [&](double y) { return y * sy; };

    QPainter painter(&m_image);
    // The image carries the device pixel ratio; draw in device pixels.
    painter.resetTransform();
    painter.scale(1.0 / dpr, 1.0 / dpr);
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen;
    pen.setWidthF(penWidth);
    pen.setCapStyle(Qt::SquareCap);
    pen.setJoinStyle(Qt::MiterJoin);
    // Centre the pen on the pixel that holds the point, so a line at x = 0 is
    // visible and one at x = W just falls off the right edge.
    const double offset = penWidth > 1.0 ? half : 0.0;

    const std::vector<SurfaceOp>& ops = surface.ops();
    std::size_t i = 0;
    while (i < ops.size()) {
        const SurfaceOp& op = ops[i];
        switch (op.kind) {
        case SurfaceOpKind::Clear:
            m_image.fill(toColor(op.color));
            ++i;
            break;
        case SurfaceOpKind::Box: {
            const double left = std::floor(mapX(std::min(op.x1, op.x2)));
            const double right = std::floor(mapX(std::max(op.x1, op.x2)));
            const double top = std::floor(mapY(std::min(op.y1, op.y2)));
            const double bottom = std::floor(mapY(std::max(op.y1, op.y2)));
            // Corners included, as the instrument fills them.
            painter.fillRect(QRectF(left, top, right - left + penWidth, bottom - top + penWidth),
                             toColor(op.color));
            ++i;
            break;
        }
        case SurfaceOpKind::Segment: {
            m_lines.clear();
            std::size_t j = i;
            while (j < ops.size() && ops[j].kind == SurfaceOpKind::Segment && sameStroke(ops[j], op)) {
                m_lines.emplace_back(mapX(ops[j].x1) + offset, mapY(ops[j].y1) + offset,
                                     mapX(ops[j].x2) + offset, mapY(ops[j].y2) + offset);
                ++j;
            }
            pen.setColor(toColor(op.color));
            painter.setPen(pen);
            painter.drawLines(m_lines.data(), static_cast<int>(m_lines.size()));
            i = j;
            break;
        }
        case SurfaceOpKind::LineTo: {
            // A chain of line-tos in one colour is one polyline.
            m_polyline.clear();
            m_polyline.emplace_back(mapX(op.x1) + offset, mapY(op.y1) + offset);
            std::size_t j = i;
            while (j < ops.size() && ops[j].kind == SurfaceOpKind::LineTo && sameStroke(ops[j], op) &&
                   (j == i || (ops[j].x1 == ops[j - 1].x2 && ops[j].y1 == ops[j - 1].y2))) {
                m_polyline.emplace_back(mapX(ops[j].x2) + offset, mapY(ops[j].y2) + offset);
                ++j;
            }
            pen.setColor(toColor(op.color));
            painter.setPen(pen);
            painter.drawPolyline(m_polyline.data(), static_cast<int>(m_polyline.size()));
            i = j;
            break;
        }
        case SurfaceOpKind::Text: {
            m_font.setPixelSize(std::max(1, static_cast<int>(std::lround(op.size * 20.0 * sy))));
            painter.setFont(m_font);
            painter.setPen(toColor(op.color));
            const QFontMetricsF metrics(m_font);
            painter.drawText(QPointF(mapX(op.x1), mapY(op.y1) + metrics.ascent()),
                             QString::fromStdString(op.text));
            painter.setRenderHint(QPainter::Antialiasing, false);
            ++i;
            break;
        }
        }
    }
    return m_image;
}
