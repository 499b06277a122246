// SearchRange: the transparent, bordered box the user lays over the A-scan to
// describe the echo a frame search looks for. The widget shows the box, the
// cursor shape of the zone under the mouse, and keeps the cursor on the
// drawing surface while the box is dragged; the rules live in the control.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/mouse/search_box_geometry.h"

#include <QWidget>

#include <memory>

namespace pelix::platform {
class CursorConfinement;
}

namespace pelix::ascanview {

class ASCANVIEW_API SearchRangeBox : public QWidget {
    Q_OBJECT
  public:
    explicit SearchRangeBox(QWidget* parent = nullptr);
    ~SearchRangeBox() override;

    // The platform's move and resize cursors for a zone of the box.
    void showZoneCursor(pelix::ascanview::BoxZone zone);
    // Keeps the mouse inside `globalArea` (screen pixels) until released.
    void confineCursor(const QRect& globalArea);
    void releaseCursor();
    bool cursorConfined() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::unique_ptr<pelix::platform::CursorConfinement> m_confinement;
};

} // namespace pelix::ascanview
