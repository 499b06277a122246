// Bookkeeping of a gate drag, shared by the redraw (which completes a drag) and
// the mouse handlers (which start and move one). Coordinates are surface units.
#pragma once

#include <cstdint>

namespace pelix::ascanview {

struct GateBar {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;
};

struct GateDragState {
    std::int32_t gateADragging = 0;
    std::int32_t gateBDragging = 0;
    GateBar gateADragBar;
    GateBar gateBDragBar;
    GateBar gateADrawnBar;
    GateBar gateBDrawnBar;
    GateBar gateAGrab; // x - x1, y - y1, x2 - x, y2 - y at the moment of the grab
    GateBar gateBGrab;
    std::int32_t gateBPixelStart = 0;
    std::int32_t gateBPixelEnd = 0;
};

} // namespace pelix::ascanview
