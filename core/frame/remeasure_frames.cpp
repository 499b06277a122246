#include "core/frame/remeasure_frames.h"

#include "core/evaluation/dgs_readings.h"
#include "core/recording/open_recording.h"

namespace pelix::frame {

RemeasureOutcome remeasureFrames(recording::OpenRecording& recording, int32_t first, int32_t last,
                                 const std::optional<DraggedGate>& gateA,
                                 const std::optional<DraggedGate>& gateB, evaluation::CalReadings& cal,
                                 const RemeasureVisitor& visit) {
    if (!cal.bind()) return {RemeasureEnd::LibraryMissing, first};
    evaluation::setUpDgsReadings(recording.header(), cal);
    FrameView view;
    evaluation::GateEvaluation evaluation;
    for (int32_t n = first; n <= last; ++n) {
        // A frame cut short would be measured on another frame's samples.
        if (!readFrameView(recording, n, view)) return {RemeasureEnd::CutShort, n};
        // Each frame alone: a hidden gate's results are not carried over from the frame before.
        evaluation.clearGateData();
        const std::optional<Remeasured> result =
            remeasureGates(view, movedGatesFor(view, gateA, gateB), evaluation, cal);
        if (!result) return {RemeasureEnd::LibraryMissing, n};
        if (!visit(view, *result)) return {RemeasureEnd::Stopped, n};
    }
    return {};
}

} // namespace pelix::frame
