// The search box's mouse handlers: hover cursors, press (cursor confined to
// the picture), move or resize, release (limits recomputed, cursor freed).
#include "ascanview/interface/oro_ascan_ctl.h"
#include "ascanview/mouse/search_box_geometry.h"
#include "ascanview/mouse/search_range_box.h"
#include "ascanview/render/ascan_graph.h"
#include "ascanview/render/ascan_picture.h"
#include "ascanview/render/checked_math.h"

#include <cmath>

using namespace pelix::ascanview;

namespace {

// The box's mouse coordinates arrive in twips; the box itself lives in surface units.
QPointF surfaceUnits(const QWidget* picture, const DrawingSurface& surface, float x, float y) {
    const double twipsWide = picture->width() * DrawingSurface::kTwipsPerPixel;
    const double twipsHigh = picture->height() * DrawingSurface::kTwipsPerPixel;
    const double sx = twipsWide > 0 ? surface.scaleWidth() / twipsWide : 1.0;
    const double sy = twipsHigh > 0 ? surface.scaleHeight() / twipsHigh : 1.0;
    return {x * sx, y * sy};
}

} // namespace

SearchBoxGeometry OroAscanCtl::searchBox() const {
    return {m_boxLeft, m_boxTop, m_boxWidth, m_boxHeight};
}

void OroAscanCtl::setSearchBox(const SearchBoxGeometry& box) {
    m_boxLeft = box.left;
    m_boxTop = box.top;
    m_boxWidth = box.width;
    m_boxHeight = box.height;
    placeSearchBox();
}

void OroAscanCtl::SearchRange_MouseDown(qint16, qint16, float x, float y) {
    const QPointF at = surfaceUnits(m_picAscan, m_surface, x, y);
    m_searchDrag.pressX = m_searchDrag.mouseX = std::nearbyint(at.x());
    m_searchDrag.pressY = m_searchDrag.mouseY = std::nearbyint(at.y());
    m_searchDrag.searchDragging = true;
    m_searchDrag.searchMoving = false;
    SearchRangeLimit();
    // The mouse stays over the picture until the button is released.
    m_searchRange->confineCursor(QRect(m_picAscan->mapToGlobal(QPoint(0, 0)), m_picAscan->size()));
}

void OroAscanCtl::SearchRange_MouseMove(qint16, qint16, float x, float y) {
    m_props.mouseX = roundToInteger(x).value_or(m_props.mouseX);
    const QPointF at = surfaceUnits(m_picAscan, m_surface, x, y);
    m_searchDrag.mouseX = at.x();
    m_searchDrag.mouseY = at.y();
    if (!m_searchDrag.searchDragging) {
        m_searchRange->showZoneCursor(boxZoneAt(at.x(), at.y(), m_boxWidth, m_boxHeight));
        return;
    }
    const BoxZone zone = boxZoneAt(m_searchDrag.pressX, m_searchDrag.pressY, m_boxWidth, m_boxHeight);
    if (zone == BoxZone::Middle) {
        m_searchDrag.searchMoving = true;
        SearchRangeLimit();
    } else {
        SearchBoxGeometry box = searchBox();
        resizeSearchBox(box, zone, m_searchDrag);
        setSearchBox(box);
    }
    m_searchRange->showZoneCursor(zone);
}

void OroAscanCtl::SearchRange_MouseUp(qint16, qint16, float, float) {
    m_searchDrag.searchDragging = false;
    // The drag is over: the box is only put back inside, not moved again, and
    // the limits describe the box where it ends up.
    m_searchDrag.searchMoving = false;
    SearchRangeLimit();
    AscanGraph(m_props, m_drag, m_surface).updateSearchLimits(searchBox());
    m_searchRange->releaseCursor();
}

void OroAscanCtl::SearchRangeLimit() {
    SearchBoxGeometry box = searchBox();
    limitSearchBox(box, m_searchDrag, m_surface.scaleWidth(), m_surface.scaleHeight());
    setSearchBox(box);
    if (m_searchDrag.searchMoving) m_searchRange->showZoneCursor(BoxZone::Middle);
}

bool OroAscanCtl::PlaceSearchRange(double lowWidth, double upWidth, double lowHeight, double upHeight) {
    if (size() != m_laidOutSize) layoutChildren();
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    AscanGraph graph(m_props, m_drag, m_surface);
    const std::optional<SearchBoxGeometry> box =
        searchBoxOfLimits(lowWidth, upWidth, lowHeight, upHeight, graph.isRf(), m_boxTop >= h / 2.0, w, h);
    if (!box) return false;
    // Placed, not dragged: the box lies on the surface by construction and is
    // not put back from the borders as a dragged one is.
    setSearchBox(*box);
    graph.updateSearchLimits(searchBox());
    return true;
}
