// Mouse handlers of picAscan (gate dragging) and SearchRange (the search box).
// While BEA is set the instrument's gate B follows its own rule: nothing on the
// picture can be dragged then.
#include "ascanview/interface/oro_ascan_ctl.h"
#include "ascanview/mouse/gate_drag.h"
#include "ascanview/render/ascan_picture.h"

using namespace pelix::ascanview;

namespace {

pelix::ascanview::GateDragInputs dragInputs(const ControlProperties& p, const DrawingSurface& surface) {
    return {surface.scaleWidth(), surface.scaleHeight(), p.ShowGateA,  p.ShowGateB,
            p.gatea_move_flag,    p.gateb_move_flag,     p.offsetGateB};
}

} // namespace

void OroAscanCtl::picAscan_MouseDown(qint16, qint16, float x, float y) {
    if (m_props.BEA != 0) return;
    pelix::ascanview::pressGates(m_drag, dragInputs(m_props, m_surface), x, y);
}

void OroAscanCtl::picAscan_MouseMove(qint16 Button, qint16, float x, float y) {
    if (m_props.BEA != 0) return;
    const auto inputs = dragInputs(m_props, m_surface);
    const bool held = Button == 1;
    if (held) pelix::ascanview::moveGates(m_drag, inputs, x, y);
    // The pointer tells what a press would pick up, and what is being carried.
    const bool grabbing =
        held ? pelix::ascanview::dragging(m_drag) : pelix::ascanview::gatesAt(m_drag, inputs, x, y).any();
    const Qt::CursorShape shape = grabbing ? Qt::SizeAllCursor : Qt::ArrowCursor;
    if (m_picAscan->cursor().shape() != shape) m_picAscan->setCursor(shape);
}

void OroAscanCtl::picAscan_MouseUp(qint16, qint16, float, float) {
    if (m_props.BEA != 0) return;
    if (!pelix::ascanview::dragging(m_drag)) return;
    // The redraw turns the moved bars into new starts and thresholds.
    UpdateAscanGraph();
    emit MouseUp();
}
