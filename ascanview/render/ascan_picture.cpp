#include "ascanview/render/ascan_picture.h"

#include <QPainter>

namespace pelix::ascanview {

AscanPicture::AscanPicture(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

void AscanPicture::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    if (m_onStale && m_image != nullptr &&
        (m_image->devicePixelRatio() != dpr || m_image->size() != (QSizeF(size()) * dpr).toSize()))
        m_onStale();
    QPainter painter(this);
    if (m_image == nullptr || m_image->isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    // The image already carries the device pixel ratio, so it maps 1:1 onto
    // device pixels when drawn at the widget's logical size.
    painter.drawImage(QPointF(0, 0), *m_image);
}

} // namespace pelix::ascanview
