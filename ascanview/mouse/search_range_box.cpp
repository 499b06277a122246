#include "ascanview/mouse/search_range_box.h"

#include "platform/window_services.h"

#include <QPainter>

namespace pelix::ascanview {

using pelix::ascanview::BoxZone;

SearchRangeBox::SearchRangeBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
}

SearchRangeBox::~SearchRangeBox() = default;

void SearchRangeBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(QColor(0, 0, 160));
    pen.setWidthF(1.0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}

void SearchRangeBox::showZoneCursor(BoxZone zone) {
    Qt::CursorShape shape = Qt::SizeAllCursor;
    switch (zone) {
    case BoxZone::Middle:
        shape = Qt::SizeAllCursor;
        break;
    case BoxZone::Top:
    case BoxZone::Bottom:
        shape = Qt::SizeVerCursor;
        break;
    case BoxZone::Left:
    case BoxZone::Right:
        shape = Qt::SizeHorCursor;
        break;
    case BoxZone::TopLeft:
    case BoxZone::BottomRight:
        shape = Qt::SizeFDiagCursor;
        break;
    case BoxZone::TopRight:
    case BoxZone::BottomLeft:
        shape = Qt::SizeBDiagCursor;
        break;
    }
    if (cursor().shape() != shape) setCursor(shape);
}

void SearchRangeBox::confineCursor(const QRect& globalArea) {
    m_confinement = std::make_unique<pelix::platform::CursorConfinement>(this, globalArea);
}

void SearchRangeBox::releaseCursor() {
    m_confinement.reset();
}

bool SearchRangeBox::cursorConfined() const {
    return m_confinement && m_confinement->active();
}

} // namespace pelix::ascanview
