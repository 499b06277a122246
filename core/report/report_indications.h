// The indications an inspection report lists: those `pelix indications` finds
// in the recorded echo of the chosen gate, at the chosen level and drop, each
// with the gate's readings at its peak, in the same texts.
#pragma once

#include "core/indications/gate_readings.h"
#include "core/indications/indication.h"
#include "core/indications/indication_finder.h"
#include "core/recording/open_recording.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pelix::report {

struct IndicationChoice {
    indications::Gate gate = indications::Gate::A;
    std::optional<int32_t> level; // percent of screen height; none: the gate's threshold in frame 1
    double dropDb = 6.0;
};

struct ReportIndication {
    indications::Indication found;
    std::vector<indications::GateReading> readings; // the gate's readings at the peak
};

// A table longer than this is left to `pelix indications`; the report says how many more there are.
inline constexpr std::size_t kMostListedIndications = 2000;

struct ReportIndications {
    indications::Gate gate = indications::Gate::A;
    indications::IndicationRules rules;
    bool levelFromGate = false;
    bool frameOneUnreadable = false;      // no level could be taken from frame 1: nothing was searched
    std::vector<ReportIndication> listed; // the first kMostListedIndications
    std::vector<int32_t> peakFrames;      // every indication's peak, in order
    std::optional<int64_t> cutShortAt;    // the file ends inside this frame's header
    bool stopped = false;                 // `stop` was set: the list is not whole
};

ReportIndications findReportIndications(const recording::OpenRecording& rec, const IndicationChoice& choice,
                                        const std::atomic<bool>* stop = nullptr);

// The line above the table: "Gate A, level 40 % (the gate's threshold in frame 1), drop 6 dB: 3 indications."
std::string indicationsHeadline(const ReportIndications& found);

// One row of the table: #, frames first-last, peak frame and amplitude, drop extent, length, readings.
using IndicationRow = std::array<std::string, 6>;
IndicationRow indicationRow(std::size_t number, const ReportIndication& item, int32_t framesPerSecond);

} // namespace pelix::report
