// Mouse handlers of picAscan (gate dragging) and SearchRange (the search box).
// While BEA is set the instrument's gate B follows its own rule: nothing on the
// picture can be dragged then.
#include "ascanview/interface/oro_ascan_ctl.h"
#include "ascanview/mouse/gate_drag.h"
#include "ascanview/mouse/gate_drag_preview.h"
#include "ascanview/render/ascan_graph.h"
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
    m_dragPreview->follow({}, 0.0, 0.0);
}

void OroAscanCtl::picAscan_MouseMove(qint16 Button, qint16, float x, float y) {
    if (m_props.BEA != 0) return;
    const auto inputs = dragInputs(m_props, m_surface);
    const bool held = Button == 1;
    if (held) {
        pelix::ascanview::moveGates(m_drag, inputs, x, y);
        // The surface is not redrawn while moving; the preview shows where the bars go.
        m_dragPreview->follow(m_drag, inputs.width, inputs.height);
    }
    // The pointer tells what a press would pick up, and what is being carried.
    const bool grabbing =
        held ? pelix::ascanview::dragging(m_drag) : pelix::ascanview::gatesAt(m_drag, inputs, x, y).any();
    const Qt::CursorShape shape = grabbing ? Qt::SizeAllCursor : Qt::ArrowCursor;
    if (m_picAscan->cursor().shape() != shape) m_picAscan->setCursor(shape);
}

void OroAscanCtl::picAscan_MouseUp(qint16, qint16, float, float) {
    if (m_props.BEA != 0) return;
    m_dragPreview->follow({}, 0.0, 0.0);
    if (!pelix::ascanview::dragging(m_drag)) return;
    // The redraw turns the moved bars into new starts and thresholds.
    UpdateAscanGraph();
    emit MouseUp();
}

bool OroAscanCtl::CompleteGateDrag(bool moveA, float gateAStart, qint32 gateAThresh, bool moveB,
                                   float gateBStart, qint32 gateBThresh) {
    if (m_props.BEA != 0 || (!moveA && !moveB)) return false;
    const GateDragInputs inputs = dragInputs(m_props, m_surface);
    if (moveA && !(inputs.showGateA && inputs.gatea_move_flag == 1)) return false;
    if (moveB && !(inputs.showGateB && inputs.gateb_move_flag == 1)) return false;
    // The bars are placed on the surface as the release's redraw will see it.
    if (size() != m_laidOutSize) layoutChildren();
    const AscanMapping m = AscanGraph(m_props, m_drag, m_surface).mapping();
    m_drag.gateADragging = 0;
    m_drag.gateBDragging = 0;
    if (moveA) placeGate(m_drag, true, m, gateAStart, gateAThresh);
    if (moveB) placeGate(m_drag, false, m, gateBStart, gateBThresh);
    picAscan_MouseUp(1, 0, 0.0F, 0.0F);
    return true;
}
