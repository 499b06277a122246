#include "platform/track_bar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace pelix::platform {

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
    // Every move the user makes (dragging, clicking the channel, keys, the wheel)
    // is an action; a position set by the program is not.
    connect(this, &QAbstractSlider::actionTriggered, this, &TrackBar::Scroll);
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
    if (!m_selectRange) {
        QSlider::paintEvent(event);
        return;
    }
    // Groove and ticks, then the selection band, then the thumb on top of it.
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);

    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    const auto xOf = [&](int value) {
        return groove.left() + handle.width() / 2 +
               QStyle::sliderPositionFromValue(minimum(), maximum(), qBound(minimum(), value, maximum()),
                                               span, option.upsideDown);
    };
    const int x0 = xOf(m_selStart);
    const int x1 = xOf(m_selStart + qMax(0, m_selLength));
    const QRect band(QPoint(x0 - 2, groove.center().y() - 3), QPoint(x1 + 2, groove.center().y() + 3));
    painter.setPen(QColor(150, 90, 0));
    painter.setBrush(QColor(255, 176, 32));
    painter.drawRect(band.adjusted(0, 0, -1, -1));

    option.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}

} // namespace pelix::platform
