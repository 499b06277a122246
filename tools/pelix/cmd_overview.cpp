// pelix overview: the recording at a glance, from the frame headers alone —
// every frame's recorded gate A and gate B amplitudes and the flagged frames,
// as numbers, or drawn as the player's overview window draws them (the
// drawing itself is overview_strip.cpp's, in pelix-draw).
#include "core/files/output_file.h"
#include "core/frame/gate_remeasure.h"
#include "core/frame/remeasure_in_order.h"
#include "core/overview/overview_series.h"
#include "core/recording/open_recording.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/gate_option.h"
#include "tools/pelix/hand_over.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/standard_output.h"
#include "tools/pelix/tool_outputs.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <new>
#include <string>
#include <vector>

namespace pelix::tool {

using namespace pelix::recording;
using overview::Gate;
using overview::OverviewSeries;

namespace {

// Frames a batch of the re-measure holds: a few kilobytes of amplitudes, enough work for a worker.
constexpr int32_t kRemeasureBatchFrames = 1024;

// False as soon as standard output refuses a block: the rest would go nowhere.
bool appendSeries(std::string& out, const OverviewSeries& s, Gate gate) {
    out += '[';
    for (int32_t f = 1; f <= s.frameCount(); ++f) {
        if (f > 1) out += ',';
        const auto a = s.amplitude(gate, f);
        out += a ? std::to_string(*a) : std::string("null");
        if (out.size() >= (1 << 20)) {
            if (!writeStandardOutput(out)) return false;
            out.clear();
        }
    }
    out += ']';
    return true;
}

// Replaces the moved gates' series with every frame's re-measured amplitude, measured on every
// core and taken in frame order. A frame the run did not reach (the file shrank under it) has none.
int remeasureSeries(const OpenRecording& rec, const GateOptions& gates, OverviewSeries& series) {
    struct Measured {
        int32_t frame = 0;
        std::optional<int32_t> a, b;
    };
    const auto replace = [&series, &gates](int32_t frame, std::optional<int32_t> a,
                                           std::optional<int32_t> b) {
        series.set(frame, gates.gateA ? a : series.amplitude(Gate::A, frame),
                   gates.gateB ? b : series.amplitude(Gate::B, frame), false);
    };
    std::string failure;
    const frame::RemeasureOutcome run = frame::remeasureFramesInOrder<std::vector<Measured>>(
        rec, 1, series.frameCount(), gates.gateA, gates.gateB, frame::defaultWorkerCount(),
        kRemeasureBatchFrames,
        [](const frame::FrameView& view, const frame::Remeasured& result, std::vector<Measured>& batch) {
            batch.push_back({view.frame, frame::shownAmplitude(result, frame::PanelRow::GateAAmplitude),
                             frame::shownAmplitude(result, frame::PanelRow::GateBAmplitude)});
        },
        [&replace](const std::vector<Measured>& batch) {
            for (const Measured& m : batch)
                replace(m.frame, m.a, m.b);
            return true;
        },
        &failure,
        // The amplitudes alone: no reading text, no caret.
        frame::RemeasureOptions{.panelRows = false, .readingSlots = 0, .amplitudes = true, .carets = false});
    if (run.end == frame::RemeasureEnd::LibraryMissing) {
        std::cerr << "pelix overview: " << failure << "\n";
        return kExitWriteFailed;
    }
    if (run.end != frame::RemeasureEnd::CutShort) return kExitOk;
    for (int32_t f = run.stoppedAt; f <= series.frameCount(); ++f)
        replace(f, std::nullopt, std::nullopt);
    std::cerr << "pelix overview: " << rec.path() << ": the file ends inside frame " << run.stoppedAt
              << "; the re-measured series has no amplitude from there on\n";
    return kExitFrameCutShort;
}

// A failed write is reported once the command ends, as for every subcommand.
void writeJson(const OverviewSeries& s, const GateOptions& remeasured) {
    std::string out;
    out.reserve((1 << 20) + 64);
    out += "{\"FrameCount\": " + std::to_string(s.frameCount()) + ", \"GateAAmplitude\": ";
    if (!appendSeries(out, s, Gate::A)) return;
    out += ", \"GateBAmplitude\": ";
    if (!appendSeries(out, s, Gate::B)) return;
    out += ", \"Flags\": [";
    for (std::size_t i = 0; i < s.flags().size(); ++i) {
        if (i > 0) out += ',';
        out += std::to_string(s.flags()[i]);
    }
    out += ']';
    if (remeasured.any()) {
        out += ", \"Remeasured\": [";
        if (remeasured.gateA) out += "\"A\"";
        if (remeasured.gateA && remeasured.gateB) out += ", ";
        if (remeasured.gateB) out += "\"B\"";
        out += ']';
    }
    out += "}\n";
    writeStandardOutput(out);
}

void writeSummary(const OverviewSeries& s) {
    std::cout << "FrameCount\t" << s.frameCount() << "\nFlags\t" << s.flags().size() << "\n";
    for (const Gate gate : {Gate::A, Gate::B}) {
        std::optional<int32_t> high;
        int32_t at = 0;
        for (int32_t f = 1; f <= s.frameCount(); ++f) {
            const auto a = s.amplitude(gate, f);
            if (a && (!high || *a > *high)) {
                high = a;
                at = f;
            }
        }
        std::cout << (gate == Gate::A ? "GateA" : "GateB") << "\t";
        if (high)
            std::cout << "highest " << *high << " % at frame " << at << "\n";
        else
            std::cout << "off in every frame\n";
    }
}

} // namespace

int runOverview(const Args& args, OverviewStripWriter writeStrip) {
    const ParsedArgs parsed = parseArgs(kOverviewCommand, args);
    if (parsed.help) {
        std::cout << helpText(kOverviewCommand);
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix overview: " << why << "\n" << helpText(kOverviewCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.size() != 1) return usage("expects FILE");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);
    const std::string png = parsed.has("-o") ? *parsed.text("-o") : std::string();
    const auto width = static_cast<int>(parsed.number("--width").value_or(0));
    const auto height = static_cast<int>(parsed.number("--height").value_or(0));
    if (parsed.json && !png.empty()) return usage("--json and -o exclude each other");
    if ((width != 0 || height != 0) && png.empty()) return usage("--width and --height go with -o");
    const GateOptions gates = readGateOptions(parsed);
    if (!gates.error.empty()) return usage(gates.error);
    // The drawn strip shows the recorded amplitudes only.
    if (gates.any() && !png.empty())
        return usage("--gate-a and --gate-b go with --json or the summary, not -o");
    // Drawing the strip needs Qt: pelix-draw does it, from the same words.
    if (!png.empty() && !writeStrip) return handOverToDrawing(kOverviewCommand, args);

    // The scan below finds the flags itself: the open's own flag scan would read the file a second time.
    const OpenOutcome outcome = OpenRecording::open(parsed.positional[0], OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    OpenRecording& rec = *outcome.recording;
    files::OutputFile pngOutput;
    if (!png.empty() && !pngOutput.open(png, rec.file().identity()))
        return reportNotWritten("overview", pngOutput);
    OverviewSeries series;
    try {
        series = overview::scanOverview(rec.file(), frameRecordLayout(rec));
    } catch (const std::bad_alloc&) {
        std::cerr << "pelix overview: not enough memory for " << rec.FrameCount() << " frames\n";
        return kExitWriteFailed;
    }

    // A header cut short is reported below, as without moved gates.
    const int remeasureStatus = gates.any() ? remeasureSeries(rec, gates, series) : kExitOk;
    if (remeasureStatus == kExitWriteFailed) return remeasureStatus;

    if (parsed.json)
        writeJson(series, gates);
    else if (!png.empty() &&
             !writeStrip(series, pngOutput, width > 0 ? width : 1000, height > 0 ? height : 120))
        return reportNotWritten("overview", pngOutput);
    else if (png.empty())
        writeSummary(series);
    if (series.cutShortAt() > 0) {
        std::cerr << "pelix overview: " << rec.path() << ": the file ends inside frame "
                  << series.cutShortAt() << "'s header; from there on both gates count as off\n";
        return kExitFrameCutShort;
    }
    return remeasureStatus;
}

} // namespace pelix::tool
