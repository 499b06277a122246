#include "ascanview/render/surface_rasterizer.h"

#include "ascanview/render/pixel_canvas.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pelix::ascanview {

namespace {

constexpr std::uint32_t toPixel(Rgb color) {
    return 0xFF000000U | color;
}

} // namespace

SurfaceRasterizer::SurfaceRasterizer() {
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
    // Lines are one logical pixel wide: one device pixel at 100 %, two at 200 %.
    const int pen = std::max(1, static_cast<int>(std::lround(dpr)));
    PixelCanvas canvas(reinterpret_cast<std::uint32_t*>(m_image.bits()), deviceSize.width(),
                       deviceSize.height(), m_image.bytesPerLine() / 4);

    const double width = surface.scaleWidth();
    const double height = surface.scaleHeight();
    const double sx = width > 0 ? deviceSize.width() / width : 0.0;
    const double sy = height > 0 ? deviceSize.height() / height : 0.0;

    for (const SurfaceOp& op : surface.ops()) {
        switch (op.kind) {
        case SurfaceOpKind::Clear:
            canvas.fill(toPixel(op.color));
            break;
        case SurfaceOpKind::Box: {
            // Both corners belong to the box.
            const double left = std::floor(std::min(op.x1, op.x2) * sx);
            const double right = std::floor(std::max(op.x1, op.x2) * sx) + pen - 1;
            const double top = std::floor(std::min(op.y1, op.y2) * sy);
            const double bottom = std::floor(std::max(op.y1, op.y2) * sy) + pen - 1;
            if (!std::isfinite(left) || !std::isfinite(right) || !std::isfinite(top) ||
                !std::isfinite(bottom))
                break;
            const double limit = 1e9;
            canvas.fillRect(static_cast<long long>(std::clamp(left, -limit, limit)),
                            static_cast<long long>(std::clamp(top, -limit, limit)),
                            static_cast<long long>(std::clamp(right, -limit, limit)),
                            static_cast<long long>(std::clamp(bottom, -limit, limit)), toPixel(op.color));
            break;
        }
        case SurfaceOpKind::Segment:
        case SurfaceOpKind::LineTo:
            canvas.line(op.x1 * sx, op.y1 * sy, op.x2 * sx, op.y2 * sy, toPixel(op.color), pen);
            break;
        case SurfaceOpKind::Text:
            canvas.flush(); // the painter draws on the same pixels
            drawText(surface.textOf(op), op, sx, sy);
            break;
        }
    }
    canvas.flush();
    return m_image;
}

void SurfaceRasterizer::drawText(const SurfaceText& text, const SurfaceOp& op, double sx, double sy) {
    // Text is rare (curve labels only) and goes through the general painter.
    // The painter works in the image's logical pixels and maps them onto device
    // pixels by the ratio the image carries. So a text is placed and sized here
    // in logical pixels, with the numbers it has at 100 %, and the painter alone
    // takes it to the device: at any ratio it covers the pixels it covers at
    // 100 %, scaled, at its point size.
    // A point is 20 twips whatever scale the host set for the surface.
    const double ratio = m_image.devicePixelRatio();
    const double lx = sx / ratio;
    const double ly = sy / ratio;
    QPainter painter(&m_image);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_font.setPixelSize(
        std::max(1, static_cast<int>(std::lround(text.size * 20.0 / DrawingSurface::kTwipsPerPixel))));
    painter.setFont(m_font);
    painter.setPen(QColor::fromRgb(toPixel(op.color)));
    const QFontMetricsF metrics(m_font);
    painter.drawText(QPointF(op.x1 * lx, op.y1 * ly + metrics.ascent()), QString::fromStdString(text.text));
}

} // namespace pelix::ascanview
