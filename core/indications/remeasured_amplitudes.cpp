#include "core/indications/remeasured_amplitudes.h"

#include "core/frame/remeasure_in_order.h"
#include "core/indications/gate_readings.h"
#include "core/recording/open_recording.h"

#include <utility>
#include <vector>

namespace pelix::indications {

namespace {

// Frames a batch holds: a few kilobytes of amplitudes, enough work to keep a worker busy.
constexpr int32_t kBatchFrames = 1024;

struct Sample {
    std::optional<int32_t> amplitude;
    std::optional<double> dbToReference;
};

} // namespace

std::optional<int32_t> remeasuredAmplitude(const frame::Remeasured& result, overview::Gate gate) {
    return frame::shownAmplitude(result, gate == overview::Gate::A ? frame::PanelRow::GateAAmplitude
                                                                   : frame::PanelRow::GateBAmplitude);
}

RemeasuredAmplitudes remeasureAmplitudes(const recording::OpenRecording& recording, overview::Gate gate,
                                         int32_t first, int32_t last,
                                         const std::optional<frame::DraggedGate>& gateA,
                                         const std::optional<frame::DraggedGate>& gateB,
                                         bool withDbToReference, int workers) {
    RemeasuredAmplitudes out{AmplitudeSeries(first), {}, {}};
    if (first > last) return out;
    out.series.reserve(int64_t{last} - first + 1);
    const std::optional<std::size_t> dbSlot =
        withDbToReference ? readingSlot(recording.header(), gate, GateQuantity::DbToReference) : std::nullopt;
    out.run = frame::remeasureFramesInOrder<std::vector<Sample>>(
        recording, first, last, gateA, gateB, workers, kBatchFrames,
        [gate, dbSlot](const frame::FrameView&, const frame::Remeasured& result, std::vector<Sample>& batch) {
            Sample s;
            s.amplitude = remeasuredAmplitude(result, gate);
            if (dbSlot) s.dbToReference = decibelsShown(result.readings[*dbSlot].text);
            batch.push_back(s);
        },
        [&out](const std::vector<Sample>& batch) {
            for (const Sample& s : batch)
                out.series.append(s.amplitude, s.dbToReference);
            return true;
        },
        &out.failure,
        // The amplitude, and the one reading when asked; no other text, no caret.
        frame::RemeasureOptions{.panelRows = false,
                                .readingSlots = dbSlot ? 1U << *dbSlot : 0U,
                                .amplitudes = true,
                                .carets = false});
    return out;
}

} // namespace pelix::indications
