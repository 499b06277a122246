#include "ascanview/mouse/gate_drag.h"

namespace pelix::ascanview {

namespace {

// How far around its bar a gate can be picked up, as a share of the height.
constexpr double kGrabReach = 1.0 / 40.0;

GateBar grabOffsets(const GateBar& bar, double x, double y) {
    return {x - bar.x1, y - bar.y1, bar.x2 - x, bar.y2 - y};
}

GateBar movedBar(const GateBar& grab, double x, double y, double shift) {
    return {x - grab.x1 + shift, y - grab.y1, grab.x2 + x + shift, grab.y2 + y};
}

} // namespace

GateGrab gatesAt(const GateDragState& drag, const GateDragInputs& in, double x, double y) {
    const double d = in.height * kGrabReach;
    GateGrab grab;
    const GateBar& a = drag.gateADrawnBar;
    grab.a = in.showGateA && in.gatea_move_flag == 1 && a.x1 - d < x && x < a.x2 + d && a.y1 - d <= y &&
             y <= a.y1 + d;
    const GateBar& b = drag.gateBDrawnBar;
    grab.b = in.showGateB && in.gateb_move_flag == 1 && b.x1 - d < x && x < b.x2 + d && b.y1 - d < y &&
             y < b.y1 + d;
    return grab;
}

void pressGates(GateDragState& drag, const GateDragInputs& in, double x, double y) {
    drag.gateADragging = 0;
    drag.gateBDragging = 0;
    const GateGrab grab = gatesAt(drag, in, x, y);
    // Overlapping boxes: one press takes both gates, and they move together.
    if (grab.a) {
        drag.gateADragging = 1;
        drag.gateADragBar = drag.gateADrawnBar;
        drag.gateAGrab = grabOffsets(drag.gateADrawnBar, x, y);
    }
    if (grab.b) {
        drag.gateBDragging = 1;
        drag.gateBDragBar = drag.gateBDrawnBar;
        drag.gateBGrab = grabOffsets(drag.gateBDrawnBar, x, y);
    }
}

bool moveGates(GateDragState& drag, const GateDragInputs& in, double x, double y) {
    // A bar cannot be pulled onto the picture's edges.
    const double w = in.width, h = in.height;
    if (!(0.02 * w < x && x < 0.98 * w && 0.05 * h < y && y < 0.95 * h)) return false;
    if (drag.gateADragging == 1) drag.gateADragBar = movedBar(drag.gateAGrab, x, y, 0.0);
    if (drag.gateBDragging == 1) drag.gateBDragBar = movedBar(drag.gateBGrab, x, y, in.offsetGateB);
    return true;
}

void placeGate(GateDragState& drag, bool gateA, const AscanMapping& m, double start, std::int32_t threshold) {
    const GateBar& drawn = gateA ? drag.gateADrawnBar : drag.gateBDrawnBar;
    const double x1 = m.x(start);
    const double y = m.y(threshold);
    GateBar& bar = gateA ? drag.gateADragBar : drag.gateBDragBar;
    bar = {x1, y, x1 + (drawn.x2 - drawn.x1), y};
    (gateA ? drag.gateADragging : drag.gateBDragging) = 1;
}

} // namespace pelix::ascanview
