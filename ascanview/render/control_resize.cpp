// Placing the children when the control changes size.
#include "ascanview/interface/oro_ascan_ctl.h"

#include "ascanview/mouse/search_range_box.h"
#include "ascanview/render/ascan_picture.h"
#include "ascanview/render/control_layout.h"
#include "core/geometry/twips.h"

#include <QLabel>
#include <QResizeEvent>

#include <cmath>

using namespace pelix::ascanview;

namespace {

QRect toPixels(const TwipRect& r) {
    const pelix::geometry::PixelRect p = pelix::geometry::pixelsFromTwips(
        r.left, r.top, r.width, r.height, pelix::geometry::HalfPixel::AwayFromZero);
    return {p.left, p.top, std::max(0, p.width), std::max(0, p.height)};
}

} // namespace

void OroAscanCtl::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    applyLayout();
}

void OroAscanCtl::applyLayout() {
    layoutChildren();
    UpdateAscanGraph();
    update();
}

void OroAscanCtl::layoutChildren() {
    m_laidOutSize = size();
    // The box keeps its relative place inside the picture.
    const double oldWidth = m_surface.scaleWidth();
    const double oldHeight = m_surface.scaleHeight();
    const bool restoreBox = oldWidth > 0 && oldHeight > 0;
    const double boxLeft = restoreBox ? m_boxLeft / oldWidth : 0.0;
    const double boxTop = restoreBox ? m_boxTop / oldHeight : 0.0;
    const double boxWidth = restoreBox ? m_boxWidth / oldWidth : 0.0;
    const double boxHeight = restoreBox ? m_boxHeight / oldHeight : 0.0;

    // The widget's minimum size keeps it at least 7200 x 3500 twips.
    const ControlLayout layout = computeControlLayout(width() * DrawingSurface::kTwipsPerPixel,
                                                      height() * DrawingSurface::kTwipsPerPixel);
    m_picLeftTwips = layout.picAscan.left;
    m_picAscan->setGeometry(toPixels(layout.picAscan));
    if (!m_userScale) m_surface.setScale(layout.picAscan.width, layout.picAscan.height);
    m_lblControlTitle->setGeometry(toPixels(layout.controlTitle));
    m_lblAscanStart->setGeometry(toPixels(layout.ascanStart));
    m_lblAscanWidth->setGeometry(toPixels(layout.ascanWidth));
    for (std::size_t i = 0; i < layout.paramTitle.size(); ++i) {
        m_paramTitle[i]->setGeometry(toPixels(layout.paramTitle[i]));
        m_paramValue[i]->setGeometry(toPixels(layout.paramValue[i]));
    }

    SearchSwitchJudgement();
    if (!m_searchRange->isHidden() && restoreBox) {
        m_boxLeft = boxLeft * m_surface.scaleWidth();
        m_boxTop = boxTop * m_surface.scaleHeight();
        m_boxWidth = boxWidth * m_surface.scaleWidth();
        m_boxHeight = boxHeight * m_surface.scaleHeight();
    }
    placeSearchBox();
}

void OroAscanCtl::placeSearchBox() {
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    if (w <= 0 || h <= 0) return;
    const double sx = m_picAscan->width() / w;
    const double sy = m_picAscan->height() / h;
    const int left = static_cast<int>(std::lround(m_boxLeft * sx));
    const int top = static_cast<int>(std::lround(m_boxTop * sy));
    m_searchRange->setGeometry(
        left, top, std::max(1, static_cast<int>(std::lround((m_boxLeft + m_boxWidth) * sx)) - left),
        std::max(1, static_cast<int>(std::lround((m_boxTop + m_boxHeight) * sy)) - top));
}
