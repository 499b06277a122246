#include "platform/window_services.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPixmap>
#include <QRegion>
#include <QWidget>

namespace pelix::platform {

void setTopmost(QWidget* window, bool topmost) {
    if (!window) return;
    QWidget* top = window->window();
    if (isTopmost(top) == topmost) return;
    const bool wasVisible = top->isVisible();
    top->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    // Changing a window flag hides the window; bring it back where it was.
    if (wasVisible) top->show();
}

bool isTopmost(const QWidget* window) {
    return window && window->window()->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

QImage captureWindow(QWidget* window) {
    if (!window) return {};
    return window->grab().toImage();
}

bool captureWindowInto(QWidget* window, QImage& picture) {
    if (!window || picture.isNull()) return false;
    if (window->width() < picture.width() || window->height() < picture.height()) picture.fill(Qt::black);
    // What grab() does, without a new pixmap for every picture.
    window->render(&picture, QPoint(0, 0), QRegion(picture.rect().intersected(window->rect())),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return true;
}

CursorConfinement::CursorConfinement(QWidget* widget, const QRect& globalArea)
    : m_widget(widget), m_area(globalArea.normalized()) {
    if (!m_widget) return;
    m_widget->grabMouse();
    m_widget->installEventFilter(this);
    m_active = true;
}

CursorConfinement::~CursorConfinement() {
    release();
}

void CursorConfinement::release() {
    if (!m_active) return;
    m_active = false;
    if (m_widget) {
        m_widget->removeEventFilter(this);
        m_widget->releaseMouse();
    }
}

QPoint CursorConfinement::clamp(const QPoint& point, const QRect& area) {
    if (area.isEmpty()) return point;
    return {qBound(area.left(), point.x(), area.right()), qBound(area.top(), point.y(), area.bottom())};
}

bool CursorConfinement::eventFilter(QObject* watched, QEvent* event) {
    if (m_active && watched == m_widget && event->type() == QEvent::MouseMove) {
        const QPoint global = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        const QPoint inside = clamp(global, m_area);
        if (inside != global) QCursor::setPos(inside);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pelix::platform
