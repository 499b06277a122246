#include "player/ui/form_scaler.h"

#include "player/controls/twips.h"

#include <QWidget>

#include <algorithm>

namespace pelix::player {

void FormScaler::add(QWidget* control, const QRectF& twips) {
    Placed p{control, static_cast<float>(twips.left()), static_cast<float>(twips.top()),
             static_cast<float>(twips.width()), static_cast<float>(twips.height())};
    m_controls.push_back(p);
    place(p);
}

void FormScaler::start(float widthTwips, float heightTwips) {
    m_previousWidth = widthTwips;
    m_previousHeight = heightTwips;
    m_scale = 1.0f;
}

QSizeF FormScaler::withMinimum(QSizeF twips) {
    return {std::max<qreal>(twips.width(), kMinWidthTwips), std::max<qreal>(twips.height(), kMinHeightTwips)};
}

void FormScaler::scaleTo(float widthTwips, float heightTwips) {
    if (m_previousWidth <= 0.0f || m_previousHeight <= 0.0f) return;
    const float rx = widthTwips / m_previousWidth;
    const float ry = heightTwips / m_previousHeight;
    for (Placed& p : m_controls) {
        p.left *= rx;
        p.top *= ry;
        p.width *= rx;
        p.height *= ry;
        place(p);
    }
    m_scale = rx;
    m_previousWidth = widthTwips;
    m_previousHeight = heightTwips;
}

QRectF FormScaler::twipsOf(const QWidget* control) const {
    for (const Placed& p : m_controls)
        if (p.control == control) return {p.left, p.top, p.width, p.height};
    return {};
}

void FormScaler::place(const Placed& p) const {
    if (p.control) p.control->setGeometry(pixelsFromTwips(QRectF(p.left, p.top, p.width, p.height)));
}

} // namespace pelix::player
