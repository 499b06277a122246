// Window-level services the player needs from the desktop: keeping a window
// above the others, confining the mouse pointer to a rectangle while the user
// drags something, and taking a picture of a window.
#pragma once

#include "platform/export.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace pelix::platform {

// Topmost on or off; leaves position and size alone.
PELIX_PLATFORM_API void setTopmost(QWidget* window, bool topmost);
PELIX_PLATFORM_API bool isTopmost(const QWidget* window);

// The window's current picture, frame contents only, in device pixels.
PELIX_PLATFORM_API QImage captureWindow(QWidget* window);
// The same picture, cut to the top-left part of the window that `picture`'s
// size covers and drawn into `picture` itself (black where the window does not
// reach), so that capturing frame after frame allocates nothing. `picture` is
// in logical pixels. False without a window or a picture.
PELIX_PLATFORM_API bool captureWindowInto(QWidget* window, QImage& picture);

// Keeps the pointer inside a rectangle (global coordinates) while it lives or
// until release(): the widget grabs the mouse and every move outside the
// rectangle puts the pointer back on its edge.
class PELIX_PLATFORM_API CursorConfinement : public QObject {
    Q_OBJECT
  public:
    CursorConfinement(QWidget* widget, const QRect& globalArea);
    ~CursorConfinement() override;
    void release();
    bool active() const { return m_active; }

    // The point inside `area` nearest to `point`.
    static QPoint clamp(const QPoint& point, const QRect& area);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> m_widget;
    QRect m_area;
    bool m_active = false;
};

} // namespace pelix::platform
