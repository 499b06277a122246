// While a gate is carried, the bar where the release would leave it follows the
// pointer on a see-through widget laid over the picture. It draws nothing on the
// drawing surface: the operation list and the picture the release redraws stay
// the drag's own, and the widget is hidden again before that redraw.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/render/drag_state.h"

#include <QLineF>
#include <QWidget>

#include <optional>

namespace pelix::ascanview {

class ASCANVIEW_API GateDragPreview : public QWidget {
    Q_OBJECT
  public:
    // `picture` is the widget the surface is shown on; the preview covers it.
    explicit GateDragPreview(QWidget* picture);

    // Shows the carried bars of `drag` (surface units on a surface of the given
    // internal size); hides when no gate is carried.
    void follow(const GateDragState& drag, double surfaceWidth, double surfaceHeight);
    // Both bars in the widget's own pixels, as the last follow placed them.
    std::optional<QLineF> barA() const { return m_a; }
    std::optional<QLineF> barB() const { return m_b; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::optional<QLineF> m_a, m_b;
};

} // namespace pelix::ascanview
