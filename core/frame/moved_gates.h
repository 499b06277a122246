// Where the user left the gates of a frame, turned into what the gate
// re-measure takes. A gate given here is left where a completed drag leaves
// it; a gate not given stays where the frame put it, as the A-scan control
// keeps an undragged gate's bar (its drawn start and threshold).
#pragma once

#include "core/evaluation/gate_evaluation.h"
#include "core/frame/frame_view.h"

#include <cstdint>
#include <optional>

namespace pelix::frame {

// A gate as a completed drag leaves it: start in display units (gate B's
// absolute start), threshold in percent.
struct DraggedGate {
    float start = 0.0F;
    int16_t threshold = 0;
};

// The moved gates of `view`'s frame; whether a gate is shown is the frame's.
evaluation::MovedGates movedGatesFor(const FrameView& view, const std::optional<DraggedGate>& gateA,
                                     const std::optional<DraggedGate>& gateB);

} // namespace pelix::frame
