#include "ascanview/mouse/gate_drag_preview.h"

#include "ascanview/render/ascan_colors.h"

#include <QPainter>
#include <QPen>

namespace pelix::ascanview {

namespace {

QColor colorOf(Rgb rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// A bar in surface units, in the preview's pixels.
QLineF onWidget(const GateBar& bar, double sx, double sy) {
    return {bar.x1 * sx, bar.y1 * sy, bar.x2 * sx, bar.y2 * sy};
}

void drawBar(QPainter& painter, const QLineF& bar, Rgb rgb) {
    // Dashed, so that it reads as where the gate is going, not where it is.
    QPen pen(colorOf(rgb), 2.0, Qt::DashLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(bar);
    // Short upright ticks at both ends show the gate's extent at any height.
    pen.setStyle(Qt::SolidLine);
    painter.setPen(pen);
    constexpr double kTick = 5.0;
    painter.drawLine(QPointF(bar.x1(), bar.y1() - kTick), QPointF(bar.x1(), bar.y1() + kTick));
    painter.drawLine(QPointF(bar.x2(), bar.y2() - kTick), QPointF(bar.x2(), bar.y2() + kTick));
}

} // namespace

GateDragPreview::GateDragPreview(QWidget* picture) : QWidget(picture) {
    setObjectName(QStringLiteral("GateDragPreview"));
    // The picture underneath keeps every press, move and release of the drag.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void GateDragPreview::follow(const GateDragState& drag, double surfaceWidth, double surfaceHeight) {
    QWidget* picture = parentWidget();
    if (!picture || surfaceWidth <= 0.0 || surfaceHeight <= 0.0 ||
        (drag.gateADragging != 1 && drag.gateBDragging != 1)) {
        m_a.reset();
        m_b.reset();
        hide();
        return;
    }
    const double sx = picture->width() / surfaceWidth;
    const double sy = picture->height() / surfaceHeight;
    m_a = drag.gateADragging == 1 ? std::optional(onWidget(drag.gateADragBar, sx, sy)) : std::nullopt;
    m_b = drag.gateBDragging == 1 ? std::optional(onWidget(drag.gateBDragBar, sx, sy)) : std::nullopt;
    if (geometry() != picture->rect()) setGeometry(picture->rect());
    if (isHidden()) {
        show();
        raise();
    }
    update();
}

void GateDragPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_a) drawBar(painter, *m_a, ascan_colors::kGateA);
    if (m_b) drawBar(painter, *m_b, ascan_colors::kGateB);
}

} // namespace pelix::ascanview
