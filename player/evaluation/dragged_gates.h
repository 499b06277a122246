// Which gates a drag in the main window moved, and where it left them: a
// shown gate whose start or threshold differs from the frame's own. This is
// what "Apply to all frames" takes to the rest of the recording.
#pragma once

#include "core/evaluation/gate_evaluation.h"
#include "core/frame/frame_view.h"
#include "core/frame/moved_gates.h"

#include <optional>

namespace pelix::player {

struct DraggedGates {
    std::optional<frame::DraggedGate> gateA, gateB;

    bool any() const { return gateA || gateB; }
    bool operator==(const DraggedGates& other) const;
};

// The gates of `frame` that `left` (where the control left both bars) moves.
DraggedGates draggedGates(const frame::GateView& frame, const evaluation::MovedGates& left);

} // namespace pelix::player
