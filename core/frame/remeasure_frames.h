// Every frame of a range re-measured with the gates where the user left them:
// each frame is read afresh into one reused FrameView and measured as if the
// gates had been dragged on that frame alone (its own SetHeaderData, no result
// kept from the frame before), and its result handed to a visitor, so memory
// stays flat however long the recording is.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/frame/frame_view.h"
#include "core/frame/gate_remeasure.h"
#include "core/frame/moved_gates.h"

#include <cstdint>
#include <functional>
#include <optional>

namespace pelix::recording {
class OpenRecording;
} // namespace pelix::recording

namespace pelix::frame {

enum class RemeasureEnd {
    Done,
    Stopped,        // the visitor asked to stop
    CutShort,       // the end of the file cut a frame short (it is not visited)
    LibraryMissing, // no calculation library: nothing was measured (cal.failure() says why)
};

struct RemeasureOutcome {
    RemeasureEnd end = RemeasureEnd::Done;
    int32_t stoppedAt = 0; // the frame the run ended on when it did not finish
};

// Returns false to stop the run.
using RemeasureVisitor = std::function<bool(const FrameView& view, const Remeasured& result)>;

// Re-measures frames first..last (1-based, within the frame count) in order.
RemeasureOutcome remeasureFrames(recording::OpenRecording& recording, int32_t first, int32_t last,
                                 const std::optional<DraggedGate>& gateA,
                                 const std::optional<DraggedGate>& gateB, evaluation::CalReadings& cal,
                                 const RemeasureVisitor& visit);

} // namespace pelix::frame
