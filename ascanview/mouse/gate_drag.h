// Grabbing and moving the gate bars with the mouse, in surface units. The
// redraw completes a drag: it draws the bars where they were moved to and turns
// them into gate starts and thresholds. Qt-free.
#pragma once

#include "ascanview/render/ascan_mapping.h"
#include "ascanview/render/drag_state.h"

#include <cstdint>

namespace pelix::ascanview {

// What decides whether and how a bar moves: the surface's internal size and
// the host's switches.
struct GateDragInputs {
    double width = 0.0;  // internal width W
    double height = 0.0; // internal height H
    bool showGateA = false;
    bool showGateB = false;
    std::int32_t gatea_move_flag = 0;
    std::int32_t gateb_move_flag = 0;
    std::int32_t offsetGateB = 0;
};

struct GateGrab {
    bool a = false;
    bool b = false;
    bool any() const { return a || b; }
};

// The gates a press at (x, y) would grab. The box reaches H/40 around each
// bar; gate A's includes its upper and lower edge, gate B's does not.
GateGrab gatesAt(const GateDragState& drag, const GateDragInputs& in, double x, double y);

// A press: forgets any earlier drag and grabs what lies under the pointer.
void pressGates(GateDragState& drag, const GateDragInputs& in, double x, double y);

// A move with the left button held: the grabbed bars follow the pointer inside
// the inner band of the picture; outside it they stay where they were last.
// Returns false when the move was refused.
bool moveGates(GateDragState& drag, const GateDragInputs& in, double x, double y);

// A drag that leaves the bar of gate A (or B) where `start` (display units) and
// `threshold` (percent) put it, as wide as the bar is drawn now: the bar the
// release's redraw turns back into exactly that start and threshold.
void placeGate(GateDragState& drag, bool gateA, const AscanMapping& m, double start, std::int32_t threshold);

inline bool dragging(const GateDragState& drag) {
    return drag.gateADragging == 1 || drag.gateBDragging == 1;
}

} // namespace pelix::ascanview
