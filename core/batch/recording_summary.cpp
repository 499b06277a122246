#include "core/batch/recording_summary.h"

#include "core/indications/amplitude_series.h"
#include "core/indications/count_rule.h"
#include "core/indications/indication_finder.h"
#include "core/indications/recorded_amplitudes.h"
#include "core/overview/overview_series.h"
#include "core/recording/frame_header.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "core/recording/record_layout.h"
#include "core/report/report_summary.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace pelix::batch {

using namespace pelix::recording;
using indications::AmplitudeSeries;
using indications::CountRule;
using overview::Gate;

namespace {

constexpr std::array<Gate, 2> kGates = {Gate::A, Gate::B};

// The size of what was given, when it is a file at all (a FIFO or device has no size worth giving).
int64_t regularFileSize(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return -1;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    return error ? -1 : static_cast<int64_t>(size);
}

void setRejected(RecordingSummary& row, const OpenOutcome& outcome) {
    row.status =
        outcome.status == OpenStatus::CannotOpen ? SummaryStatus::Unreadable : SummaryStatus::Rejected;
    row.reason = outcome.message;
}

// The gate's counts over the series at its level, by the same rule and search `pelix indications` uses.
void countAtLevel(GateSummary& gate, const AmplitudeSeries& series) {
    indications::IndicationRules rules;
    rules.count = CountRule::atLeastPercent(gate.level);
    for (int32_t frame = series.firstFrame(); frame <= series.lastFrame(); ++frame)
        if (rules.count.counts(series, frame)) ++gate.framesAtLevel;
    indications::findIndications(series, rules, [&gate](const indications::Indication&) {
        ++gate.indications;
        return true;
    });
}

} // namespace

const char* statusWord(SummaryStatus status) {
    switch (status) {
    case SummaryStatus::Read:
        return "read";
    case SummaryStatus::CutShort:
        return "cut-short";
    case SummaryStatus::Rejected:
        return "rejected";
    case SummaryStatus::Unreadable:
        break;
    }
    return "unreadable";
}

RecordingSummary summariseRecording(const std::string& path, const SummaryRules& rules) {
    RecordingSummary row;
    row.path = path;
    const OpenOutcome outcome = OpenRecording::open(path, OpenRecording::FlagScan::Skip);
    if (!outcome.recording) {
        row.sizeBytes = regularFileSize(path);
        setRejected(row, outcome);
        return row;
    }
    const OpenRecording& rec = *outcome.recording;
    const RecordingHeader& h = rec.header();
    row.sizeBytes = rec.file().length();
    row.version = h.Version;
    row.frames = rec.FrameCount();
    row.framesPerSecond = rec.framesPerSecond();
    row.durationHundredths = int64_t{row.frames} * 100 / row.framesPerSecond;
    row.envelope = h.isEnvelope();
    row.flagCount = h.FlagCount;
    row.evaluationMode = report::evaluationModeText(h.EvalMode, h.TCGMode);

    const FrameRecordLayout layout = frameRecordLayout(rec);
    const int64_t wholeFramesEnd = layout.firstRecord + int64_t{layout.frameCount} * layout.stride;
    row.trailingBytes = std::max<int64_t>(row.sizeBytes - wholeFramesEnd, 0);

    // One pass: both gates' echo dynamics, the largest echoes and the flags together.
    std::array<AmplitudeSeries, 2> series{AmplitudeSeries(1), AmplitudeSeries(1)};
    for (AmplitudeSeries& s : series)
        s.reserve(row.frames);
    for (std::size_t g = 0; g < kGates.size(); ++g)
        if (rules.level) row.gates[g].level = *rules.level;
    const HeaderScanResult scan =
        scanFrameHeaders(rec.file(), layout, 1, layout.frameCount, [&](int64_t frame, const uint8_t* header) {
            if (frame == 1 && !rules.level) {
                const FrameHeader first = decodeFrameHeader(header);
                for (std::size_t g = 0; g < kGates.size(); ++g) {
                    row.gates[g].level = indications::defaultLevel(first, kGates[g]);
                    row.gates[g].levelFromGate = true;
                }
            }
            for (std::size_t g = 0; g < kGates.size(); ++g) {
                const std::optional<int32_t> amplitude = overview::recordedAmplitude(kGates[g], header);
                series[g].append(amplitude);
                GateSummary& gate = row.gates[g];
                if (amplitude && (!gate.largest || *amplitude > *gate.largest)) {
                    gate.largest = amplitude;
                    gate.largestFrame = static_cast<int32_t>(frame);
                }
            }
            if (layout::read(header, fh::FrameFlag) != 0) ++row.flaggedFrames;
            return true;
        });
    if (scan.end != HeaderScanEnd::Complete) {
        // The file shrank since it was opened: what was read is not the recording's whole story.
        row.status = SummaryStatus::Unreadable;
        row.reason = "the file ends inside frame " + std::to_string(scan.stoppedAt) + "'s header";
        row.gates = {};
        return row;
    }
    for (std::size_t g = 0; g < kGates.size(); ++g)
        countAtLevel(row.gates[g], series[g]);
    row.status = row.trailingBytes > 0 ? SummaryStatus::CutShort : SummaryStatus::Read;
    return row;
}

} // namespace pelix::batch
