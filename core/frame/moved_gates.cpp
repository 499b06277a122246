#include "core/frame/moved_gates.h"

namespace pelix::frame {

evaluation::MovedGates movedGatesFor(const FrameView& view, const std::optional<DraggedGate>& gateA,
                                     const std::optional<DraggedGate>& gateB) {
    const GateView& g = view.gates;
    evaluation::MovedGates moved;
    moved.ShowGateA = g.ShowGateA;
    moved.ShowGateB = g.ShowGateB;
    moved.newGateAStart = gateA ? gateA->start : g.fGateAStart;
    moved.newGateAThresh = gateA ? gateA->threshold : g.iGateAThresh;
    // Gate B's bar is drawn at its absolute start, where gate A's echo put it.
    moved.newGateBStart = gateB ? gateB->start : g.fGateBStart;
    moved.newGateBThresh = gateB ? gateB->threshold : g.iGateBThresh;
    return moved;
}

} // namespace pelix::frame
