#include "platform/up_down.h"

#include <QToolButton>

namespace pelix::platform {

namespace {
QToolButton* arrowButton(QWidget* parent, Qt::ArrowType arrow) {
    auto* button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setAutoRepeatDelay(400);
    button->setAutoRepeatInterval(60);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), m_up(arrowButton(this, Qt::UpArrow)), m_down(arrowButton(this, Qt::DownArrow)) {
    connect(m_up, &QToolButton::clicked, this, &UpDown::UpClick);
    connect(m_down, &QToolButton::clicked, this, &UpDown::DownClick);
}

void UpDown::resizeEvent(QResizeEvent*) {
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}

} // namespace pelix::platform
