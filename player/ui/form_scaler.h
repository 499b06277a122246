// Keeps every control of a window proportional to the window: each resize
// scales every control's left, top, width and height by the window's change
// of width and height. Geometry is held in twips as single-precision values,
// so repeated resizing does not pile up pixel rounding.
#pragma once

#include <QRectF>
#include <QSizeF>

#include <vector>

class QWidget;

namespace pelix::player {

class FormScaler {
  public:
    // The smallest window the controls still fit into.
    static constexpr float kMinWidthTwips = 9915.0f;
    static constexpr float kMinHeightTwips = 10965.0f;

    void add(QWidget* control, const QRectF& twips);
    // The window's size at load time: the previous size; scale factor 1.
    void start(float widthTwips, float heightTwips);

    // The window's size after the minimum is applied.
    static QSizeF withMinimum(QSizeF twips);
    // Scales every control to the window's new size (already at least the minimum).
    void scaleTo(float widthTwips, float heightTwips);

    float scaleFactor() const { return m_scale; }
    QSizeF previousSize() const { return {m_previousWidth, m_previousHeight}; }
    QRectF twipsOf(const QWidget* control) const;

  private:
    struct Placed {
        QWidget* control;
        float left, top, width, height;
    };
    void place(const Placed& p) const;

    std::vector<Placed> m_controls;
    float m_previousWidth = 0.0f;
    float m_previousHeight = 0.0f;
    float m_scale = 1.0f;
};

} // namespace pelix::player
