#include "platform/track_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace pelix::platform {

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    connect(this, &QAbstractSlider::sliderMoved, this, &TrackBar::Scroll);
    connect(this, &QAbstractSlider::valueChanged, this, &TrackBar::Change);
}

void TrackBar::setTickFrequency(int frequency) {
    setTickInterval(frequency > 0 ? frequency : 1);
}

void TrackBar::setSelStart(int start) {
    m_selStart = start;
    update();
}

void TrackBar::setSelLength(int length) {
    m_selLength = length;
    update();
}

void TrackBar::setSelectRange(bool on) {
    m_selectRange = on;
    update();
}

void TrackBar::paintEvent(QPaintEvent* event) {
    if (m_selectRange) {
        // The band goes under the groove's thumb, so it is painted first.
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const int span = groove.width() - handle.width();
        const int from = qBound(minimum(), m_selStart, maximum());
        const int to = qBound(minimum(), m_selStart + qMax(0, m_selLength), maximum());
        const int x0 = groove.left() + handle.width() / 2 +
                       QStyle::sliderPositionFromValue(minimum(), maximum(), from, span, option.upsideDown);
        const int x1 = groove.left() + handle.width() / 2 +
                       QStyle::sliderPositionFromValue(minimum(), maximum(), to, span, option.upsideDown);
        QPainter painter(this);
        const QColor band = palette().color(QPalette::Highlight);
        painter.fillRect(
            QRect(QPoint(x0 - 1, groove.center().y() - 4), QPoint(x1 + 1, groove.center().y() + 4)), band);
        painter.end();
    }
    QSlider::paintEvent(event);
}

} // namespace pelix::platform
