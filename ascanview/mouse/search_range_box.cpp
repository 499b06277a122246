#include "ascanview/mouse/search_range_box.h"

#include <QPainter>

SearchRangeBox::SearchRangeBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
}

void SearchRangeBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QPen pen(QColor(0, 0, 160));
    pen.setWidthF(1.0);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.drawRect(QRectF(0.5, 0.5, width() - 1.0, height() - 1.0));
}
