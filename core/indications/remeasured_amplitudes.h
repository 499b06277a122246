// The echo dynamic of a moved gate: every frame of a range measured again
// with the gates where the user left them (on every core, in frame order), the
// chosen gate's amplitude as its panel row shows it after the re-measure and,
// when asked, its dB-to-reference reading as the readings panel shows it.
#pragma once

#include "core/frame/moved_gates.h"
#include "core/frame/remeasure_frames.h"
#include "core/indications/amplitude_series.h"
#include "core/overview/overview_series.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pelix::recording {
class OpenRecording;
} // namespace pelix::recording

namespace pelix::indications {

// The whole percent the gate's amplitude row shows after a re-measure; none while the gate is
// off (the row is not written then).
std::optional<int32_t> remeasuredAmplitude(const frame::Remeasured& result, overview::Gate gate);

struct RemeasuredAmplitudes {
    AmplitudeSeries series;
    // Where the run ended: cut short at the frame the file no longer holds whole (the series
    // stops before it), or the library missing (`failure` says why).
    frame::RemeasureOutcome run;
    std::string failure;
};

// Frames first..last (1-based, within the frame count) of `gate`, measured with gateA/gateB moved.
RemeasuredAmplitudes remeasureAmplitudes(const recording::OpenRecording& recording, overview::Gate gate,
                                         int32_t first, int32_t last,
                                         const std::optional<frame::DraggedGate>& gateA,
                                         const std::optional<frame::DraggedGate>& gateB,
                                         bool withDbToReference, int workers);

} // namespace pelix::indications
