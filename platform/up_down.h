// Up-down arrows beside an entry box: two small buttons that only notify.
// What a step means is the host's business.
#pragma once

#include "platform/export.h"

#include <QWidget>

class QToolButton;

namespace pelix::platform {

class PELIX_PLATFORM_API UpDown : public QWidget {
    Q_OBJECT
  public:
    explicit UpDown(QWidget* parent = nullptr);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

  signals:
    void UpClick();
    void DownClick();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace pelix::platform
