// The echo dynamic as the instrument recorded it: the chosen gate's recorded
// amplitude of every frame of a range, read by the streamed header scan (one
// block of headers in memory, whatever the size of the file), and the level an
// indication search starts from when the user names none.
#pragma once

#include "core/indications/amplitude_series.h"
#include "core/overview/overview_series.h"
#include "core/recording/frame_header.h"
#include "core/recording/frame_header_scan.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace pelix::indications {

using overview::Gate;

// The level the gate itself was set to: its threshold in percent of screen height (as a height,
// so an RF gate set on the negative half-wave gives the same level as on the positive one).
int32_t defaultLevel(const recording::FrameHeader& frame, Gate gate);

// A frame's dB-to-reference reading of the chosen gate, from its header; none when it has none.
using DbToReferenceOf = std::function<std::optional<double>(const uint8_t* header)>;

struct RecordedAmplitudes {
    AmplitudeSeries series;
    // Where the pass ended. Cut short: the file ends inside that frame's header (it shrank since it
    // was opened), so the series stops before it; stopped: `cancel` was set at that frame.
    recording::HeaderScanResult scan;
};

// Frames first..last (1-based, cut to the layout's frame count). With `dbToReference`, each frame's
// reading is kept beside its amplitude for the dB-to-reference rule.
RecordedAmplitudes scanRecordedAmplitudes(const recording::RecordingFile& file,
                                          const recording::FrameRecordLayout& layout, Gate gate,
                                          int32_t first, int32_t last,
                                          const DbToReferenceOf& dbToReference = {},
                                          const std::atomic<bool>* cancel = nullptr);

} // namespace pelix::indications
