#include "core/frame/frame_view.h"

#include "core/evaluation/recorded_readings.h"
#include "core/numbers/number_format.h"
#include "core/recording/open_recording.h"

#include <algorithm>

namespace pelix::frame {

using numbers::formatFixed;
using recording::OpenRecording;
using recording::RecordingHeader;
using recording::SampleRead;

namespace {

constexpr std::size_t kTracePoints = 1600; // one record's trace, both halves of an RF frame

void setRow(PanelView& panel, PanelRow row, const char* title, std::string value, bool separatorConverted) {
    PanelRowView& r = panel[indexOf(row)];
    r.hasTitle = true;
    r.title = title;
    r.hasValue = true;
    r.value = {std::move(value), separatorConverted};
}

// Gates, carets and panel rows 2, 5 .. 14 of a frame's first record.
void describeGates(const RecordingHeader& setup, const recording::FrameHeader& f, FrameView& view) {
    const UnitConstants units = unitConstantsFor(setup.Units);
    describeGatePositions(setup, f, view.gates);
    const GateView& g = view.gates;

    PanelView& panel = view.panel;
    const int decimals = units.lengthDecimals;
    setRow(panel, PanelRow::Gain, "Gain(dB):", formatFixed(f.Gain_01dB / 10.0, 1), false);
    // Rows of a gate that is off keep what the last frame with that gate on wrote.
    if (g.ShowGateA) {
        setRow(panel, PanelRow::GateAStart, "Gate A Start:", formatFixed(g.fGateAStart, decimals), true);
        setRow(panel, PanelRow::GateAWidth, "Gate A Width:", formatFixed(g.fGateAWidth, decimals), true);
        setRow(panel, PanelRow::GateAThreshold, "Gate A Threshold(%):", std::to_string(g.iGateAThresh),
               false);
        setRow(panel, PanelRow::SoundPathA, "SA:", formatFixed(g.fCaretOne, decimals), false);
        setRow(panel, PanelRow::GateAAmplitude, "Gate A Amplitude(%):", std::to_string(f.GateAAmplitude),
               false);
    }
    if (g.ShowGateB) {
        // The start as the instrument set it: relative to gate A when gate B is triggered.
        setRow(panel, PanelRow::GateBStart, "Gate B Start:", formatFixed(g.gateBStartAsSet, decimals), true);
        setRow(panel, PanelRow::GateBWidth, "Gate B Width:", formatFixed(g.fGateBWidth, decimals), true);
        setRow(panel, PanelRow::GateBThreshold, "Gate B Threshold(%):", std::to_string(g.iGateBThresh),
               false);
        setRow(panel, PanelRow::SoundPathB, "SB:", formatFixed(g.fCaretTwo, decimals), false);
        setRow(panel, PanelRow::GateBAmplitude, "Gate B Amplitude(%):", std::to_string(f.GateBAmplitude),
               false);
    }
}

void describeReadings(const RecordingHeader& setup, float displayVelocity, const FrameViewOptions& options,
                      FrameView& view) {
    const recording::FrameHeader& f = view.header;
    for (std::size_t i = 0; i < view.readings.size(); ++i) {
        ReadingView& r = view.readings[i];
        r.name =
            evaluation::readingName(setup.ReadingCodes[i], setup.ReadingModes[i], f.GateAMode, f.GateBMode);
        const evaluation::RecordedReading reading = evaluation::recordedReading(setup, f, i);
        r.value = evaluation::recordedValueText(reading, setup, displayVelocity, options.decimalPoint);
        r.held = evaluation::readingHeld(reading);
    }
}

// The header at the file's position into `bytes`; notes a short read.
void readHeader(OpenRecording& recording, recording::FrameHeaderBytes& bytes, FrameView& view) {
    recording.readFrameHeader(bytes);
    view.shortRead = view.shortRead || recording.lastReadShort();
}

void readSamples(OpenRecording& recording, FrameView& view) {
    // An unknown rectification or a short read decodes nothing: the trace before stays.
    const SampleRead result = recording.readSampleBlock(view.trace);
    view.shortRead = view.shortRead || recording.lastReadShort();
    if (result == SampleRead::Decoded) view.traceDecoded = true;
}

} // namespace

void describeGatePositions(const RecordingHeader& setup, const recording::FrameHeader& f, GateView& g) {
    const UnitConstants units = unitConstantsFor(setup.Units);
    g.ShowGateA = f.GateAOn != 0;
    g.ShowGateB = f.GateBOn != 0;
    g.fGateAStart = toDisplayUnits(f.GateAStart_um, units);
    g.fGateAWidth = toDisplayUnits(f.GateAWidth_um, units);
    g.gateBStartAsSet = toDisplayUnits(f.GateBStart_um, units);
    g.fGateBWidth = toDisplayUnits(f.GateBWidth_um, units);
    g.fCaretOne = toDisplayUnits(soundPathA(setup, f), units);
    g.fCaretTwo = toDisplayUnits(soundPathB(setup, f), units);
    g.fGateBStart = absoluteGateBStart(setup, f, g.fGateAStart, g.gateBStartAsSet, g.fCaretOne);
    const GateThresholds thresholds = gateThresholds(setup.Rectification, f.GateAThreshold, f.GateBThreshold);
    g.iGateAThresh = thresholds.gateA;
    g.iGateBThresh = thresholds.gateB;
    // A caret is drawn where its gate is shown and its echo has a place.
    g.DrawCaratOne = g.ShowGateA && g.fCaretOne != 0.0F;
    g.DrawCaratTwo = g.ShowGateB && g.fCaretTwo != 0.0F;
}

void describeUnitRows(const RecordingHeader& setup, const recording::DerivedSetup& d, PanelView& panel,
                      ScaleView& scale) {
    const UnitConstants units = unitConstantsFor(setup.Units);
    setRow(panel, PanelRow::Units, "Units:", units.unitsText, false);
    setRow(panel, PanelRow::Velocity, units.velocityTitle, formatFixed(d.velocity, units.velocityDecimals),
           false);
    const double rightEdge = static_cast<double>(d.displayRange) * 1.1 + static_cast<double>(d.displayDelay);
    scale.msAscanStartLabel = {formatFixed(d.displayDelay, units.lengthDecimals), units.convertScaleTexts};
    scale.msAscanStartWidth = {formatFixed(rightEdge, units.lengthDecimals), units.convertScaleTexts};
    scale.fAscanDelay = d.displayDelay;
    scale.fAscanRange = static_cast<float>(static_cast<double>(d.displayRange) * 1.1);
    PanelRowView& rect = panel[indexOf(PanelRow::Rectification)];
    rect.hasTitle = true;
    rect.title = "Recification:";
    // An unknown rectification leaves the row's value as it was.
    const char* text = rectificationText(setup.Rectification);
    rect.hasValue = *text != '\0';
    rect.value = {text, false};
}

bool readFrameView(OpenRecording& recording, int32_t n, FrameView& view, const FrameViewOptions& options) {
    const RecordingHeader& setup = recording.header();
    view.setup = &setup;
    view.derived = &recording.derived();
    view.rawSetup = &recording.rawHeader();
    view.envelope = setup.isEnvelope();
    view.frame = n;
    view.timeIndex = recording.timeIndex(n);
    view.shortRead = false;
    view.traceDecoded = false;
    for (PanelRowView& row : view.panel)
        row.hasTitle = row.hasValue = false;

    // An envelope frame is a record pair: the first gives panel, readings and
    // the live trace, the second the envelope drawn behind it.
    recording.seek(recording.recordOffset(n));
    readHeader(recording, view.headerBytes, view);
    view.lastHeaderBytes = view.headerBytes;
    view.header = recording::decodeFrameHeader(view.headerBytes);
    view.frameGain = view.header.Gain_01dB;
    describeGates(setup, view.header, view);
    view.unitRows = !view.envelope;
    if (view.unitRows) describeUnitRows(setup, recording.derived(), view.panel, view.scale);
    readSamples(recording, view);
    view.ownTraceMissing = view.shortRead;
    describeReadings(setup, recording.derived().velocity, options, view);
    view.measuredRaw = view.trace.AscanRaw;
    view.title = positionTitle(n, recording.FrameCount(), view.timeIndex, recording.TotalSeconds());

    if (view.envelope) {
        std::array<int16_t, kTracePoints> live;
        std::copy_n(view.trace.AscanPoints.begin(), kTracePoints, live.begin());
        recording.seek(recording.recordOffset(n, true));
        readHeader(recording, view.lastHeaderBytes, view);
        // A second record cut short by the end of the file is skipped like any
        // short read: the live trace then fills both halves, so everything on
        // screen belongs to the frame whose panel is shown.
        readSamples(recording, view);
        std::copy(live.begin(), live.end(), view.trace.EnvelopePoints.begin());
        std::copy_n(view.trace.AscanPoints.begin(), kTracePoints,
                    view.trace.EnvelopePoints.begin() + kTracePoints);
    }
    return !view.shortRead;
}

FrameView frameView(OpenRecording& recording, int32_t n, const FrameViewOptions& options) {
    FrameView view;
    readFrameView(recording, n, view, options);
    return view;
}

} // namespace pelix::frame
