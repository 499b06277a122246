#include "player/evaluation/dragged_gates.h"

#include <limits>

namespace pelix::player {

namespace {

bool same(const std::optional<frame::DraggedGate>& a, const std::optional<frame::DraggedGate>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->start == b->start && a->threshold == b->threshold);
}

std::optional<frame::DraggedGate> movedGate(bool shown, float frameStart, int32_t frameThreshold,
                                            float leftStart, int32_t leftThreshold) {
    // The control copies an untouched bar's start and threshold bit for bit, so
    // any difference is the user's.
    if (!shown || (leftStart == frameStart && leftThreshold == frameThreshold)) return std::nullopt;
    if (leftThreshold < std::numeric_limits<int16_t>::min() ||
        leftThreshold > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return frame::DraggedGate{leftStart, static_cast<int16_t>(leftThreshold)};
}

} // namespace

bool DraggedGates::operator==(const DraggedGates& other) const {
    return same(gateA, other.gateA) && same(gateB, other.gateB);
}

DraggedGates draggedGates(const frame::GateView& frame, const evaluation::MovedGates& left) {
    return {movedGate(frame.ShowGateA && left.ShowGateA, frame.fGateAStart, frame.iGateAThresh,
                      left.newGateAStart, left.newGateAThresh),
            movedGate(frame.ShowGateB && left.ShowGateB, frame.fGateBStart, frame.iGateBThresh,
                      left.newGateBStart, left.newGateBThresh)};
}

} // namespace pelix::player
