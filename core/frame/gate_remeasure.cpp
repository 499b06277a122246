#include "core/frame/gate_remeasure.h"

#include "core/numbers/number_format.h"
#include "layout/record_layout.h"

#include <cmath>
#include <optional>

namespace pelix::frame {

using evaluation::CalReading;
using evaluation::CalReadings;
using numbers::formatFixed;
using numbers::shortestDecimal;

namespace {

// A held reading shows as 0 in the panel; a current one as its number.
struct PanelNumber {
    bool current;
    double value;
};

PanelNumber numberOf(CalReadings& cal, int32_t slot) {
    const CalReading r = cal.FormatCVRsltValue(slot);
    return {r.current, r.current ? evaluation::leadingNumber(r.text) : 0.0};
}

void setValue(PanelView& rows, PanelRow row, std::string text) {
    PanelRowView& r = rows[indexOf(row)];
    r.hasValue = true;
    r.value = {std::move(text), false};
}

} // namespace

namespace {

// The re-measure after `setFrame(evaluation, out.headerBytes)` has handed the evaluation the frame
// with the moved thresholds.
template <class SetFrame>
bool measure(Remeasured& out, const FrameView& view, const evaluation::MovedGates& gates,
             evaluation::GateEvaluation& evaluation, CalReadings& cal, const RemeasureOptions& options,
             const SetFrame& setFrame) {
    if (!view.setup || !view.rawSetup || !cal.bind()) return false;
    out.headerBytes = view.headerBytes;
    layout::write(out.headerBytes.data(), layout::frame::GateAThreshold, gates.newGateAThresh);
    layout::write(out.headerBytes.data(), layout::frame::GateBThreshold, gates.newGateBThresh);
    // The library keeps the frame header's address; every reading is taken before `out` leaves.
    cal.SetHeaderData(view.rawSetup->data(), out.headerBytes.data());

    evaluation.setRecording(*view.setup);
    setFrame(out.headerBytes);
    evaluation.GetGateData(gates);
    cal.UpdateGateData(evaluation.gateData());
    for (std::size_t slot = 0; slot < out.readings.size(); ++slot)
        if ((options.readingSlots >> slot & 1U) != 0)
            cal.FormatCVRsltValue(static_cast<int32_t>(slot), out.readings[slot]);
        else
            out.readings[slot] = {};
    // What this frame does not write is as a fresh result has it.
    if (options.panelRows) out.rows = {};
    out.amplitudeA.reset();
    out.amplitudeB.reset();
    out.DrawCaratOne = out.DrawCaratTwo = false;
    out.fCaretOne = out.fCaretTwo = 0.0F;

    const int decimals = view.setup->isInch() ? 3 : 2;
    const auto lengthRow = [decimals](PanelNumber n) -> std::string {
        return n.current ? formatFixed(n.value, decimals) : "0";
    };
    const auto plainRow = [](PanelNumber n) -> std::string {
        return n.current ? shortestDecimal(n.value) : "0";
    };
    // The sound paths feed the rows and the carets alone.
    const bool soundPaths = options.panelRows || options.carets;
    const PanelNumber soundPathA = soundPaths ? numberOf(cal, CalReadings::kSlotSA) : PanelNumber{};
    const PanelNumber soundPathB = soundPaths ? numberOf(cal, CalReadings::kSlotSB) : PanelNumber{};
    const bool amplitudes = options.panelRows || options.amplitudes;
    // One gate's amplitude number and, for the panel, its four rows.
    struct GateRows {
        bool shown;
        int32_t amplitudeSlot;
        std::optional<double>& amplitude;
        float start;
        int32_t threshold;
        PanelNumber soundPath;
        PanelRow startRow, thresholdRow, soundPathRow, amplitudeRow;
    };
    for (const GateRows& g :
         {GateRows{gates.ShowGateA, CalReadings::kSlotAmpA, out.amplitudeA, gates.newGateAStart,
                   gates.newGateAThresh, soundPathA, PanelRow::GateAStart, PanelRow::GateAThreshold,
                   PanelRow::SoundPathA, PanelRow::GateAAmplitude},
          GateRows{gates.ShowGateB, CalReadings::kSlotAmpB, out.amplitudeB, gates.newGateBStart,
                   gates.newGateBThresh, soundPathB, PanelRow::GateBStart, PanelRow::GateBThreshold,
                   PanelRow::SoundPathB, PanelRow::GateBAmplitude}}) {
        if (!g.shown || !amplitudes) continue;
        const PanelNumber amplitude = numberOf(cal, g.amplitudeSlot);
        g.amplitude = amplitude.value;
        if (!options.panelRows) continue;
        setValue(out.rows, g.startRow, formatFixed(g.start, decimals));
        setValue(out.rows, g.thresholdRow, std::to_string(g.threshold));
        setValue(out.rows, g.soundPathRow, lengthRow(g.soundPath));
        setValue(out.rows, g.amplitudeRow, plainRow(amplitude));
    }

    if (options.carets) {
        const evaluation::CalCarets carets = cal.CVUpdatedCaret();
        out.DrawCaratOne = carets.aTriggered != 0;
        out.fCaretOne = static_cast<float>(out.DrawCaratOne ? soundPathA.value : 0.0);
        out.DrawCaratTwo = carets.bTriggered != 0;
        out.fCaretTwo = static_cast<float>(out.DrawCaratTwo ? soundPathB.value : 0.0);
    }
    return true;
}

} // namespace

std::optional<Remeasured> remeasureGates(const FrameView& view, const evaluation::MovedGates& gates,
                                         evaluation::GateEvaluation& evaluation, CalReadings& cal,
                                         const RemeasureOptions& options) {
    std::optional<Remeasured> out(std::in_place);
    if (!measure(*out, view, gates, evaluation, cal, options, [&](const recording::FrameHeaderBytes& header) {
            evaluation.setFrame(recording::decodeFrameHeader(header), view.measuredRaw);
        }))
        out.reset();
    return out;
}

bool remeasureGatesInto(Remeasured& out, const FrameView& view, const uint8_t* sampleBlock,
                        const evaluation::MovedGates& gates, evaluation::GateEvaluation& evaluation,
                        CalReadings& cal, const RemeasureOptions& options) {
    return measure(out, view, gates, evaluation, cal, options, [&](const recording::FrameHeaderBytes&) {
        // The header as decoded with the moved thresholds: they are whole words, so they read
        // back as written.
        recording::FrameHeader header = view.header;
        header.GateAThreshold = gates.newGateAThresh;
        header.GateBThreshold = gates.newGateBThresh;
        evaluation.setFrameBlock(header, sampleBlock);
    });
}

std::optional<int32_t> shownAmplitude(const Remeasured& result, PanelRow row) {
    // The row's text is the shortest decimal that reads back as this number, so the number is
    // what the row shows.
    const std::optional<double> value = row == PanelRow::GateAAmplitude   ? result.amplitudeA
                                        : row == PanelRow::GateBAmplitude ? result.amplitudeB
                                                                          : std::nullopt;
    if (!value || !std::isfinite(*value) || std::fabs(*value) > 1e6) return std::nullopt;
    return static_cast<int32_t>(std::lround(*value));
}

} // namespace pelix::frame
