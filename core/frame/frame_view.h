// Everything the player shows of one frame of a recording, as one value: the
// decoded headers, the trace as the A-scan control receives it, gates, carets
// and thresholds in display units, the parameter panel rows, the recorded
// readings with their held marks and the position title. The window writes it
// into the control; tools and whole-recording evaluations read it without one.
#pragma once

#include "core/frame/frame_arithmetic.h"
#include "core/frame/panel_row.h"
#include "core/recording/decoded_trace.h"
#include "core/recording/derived_setup.h"
#include "core/recording/frame_header.h"
#include "core/recording/recording_header.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>

namespace pelix::recording {
class OpenRecording;
} // namespace pelix::recording

namespace pelix::frame {

// A text for the control; a number in it may need the control's decimal
// separator (the control converts it, it alone knows which separator it shows).
struct ControlText {
    std::string text;
    bool separatorConverted = false;
};

// One row of the parameter panel as a frame writes it; a row not written keeps
// what it showed (the player never clears a row).
struct PanelRowView {
    bool hasTitle = false;
    const char* title = ""; // the instrument's own caption
    bool hasValue = false;
    ControlText value;
};
using PanelView = std::array<PanelRowView, kPanelRowCount>;

// The display window: the screen spans 110 % of the recorded range from the display delay.
struct ScaleView {
    float fAscanDelay = 0.0F;
    float fAscanRange = 0.0F;
    ControlText msAscanStartLabel;
    ControlText msAscanStartWidth;
};

// Gates and echo carets in display units (mm or in) and percent.
struct GateView {
    bool ShowGateA = false;
    bool ShowGateB = false;
    float fGateAStart = 0.0F;
    float fGateAWidth = 0.0F;
    float fGateBStart = 0.0F;     // where gate B starts on screen
    float gateBStartAsSet = 0.0F; // as the instrument set it: relative to gate A when triggered
    float fGateBWidth = 0.0F;
    int16_t iGateAThresh = 0;
    int32_t iGateBThresh = 0;
    float fCaretOne = 0.0F;
    float fCaretTwo = 0.0F;
    bool DrawCaratOne = false;
    bool DrawCaratTwo = false;
};

// One reading slot: its caption and the value the instrument recorded.
struct ReadingView {
    std::string name;
    std::string value;
    bool held = false; // neither live nor missing: shown on the highlight colour
};

struct FrameViewOptions {
    char decimalPoint = '.'; // of the recorded readings' numbers
};

struct FrameView {
    // The recording's setup; they belong to the open recording the view was read from.
    const recording::RecordingHeader* setup = nullptr;
    const recording::DerivedSetup* derived = nullptr;
    const std::array<uint8_t, recording::kRecordingHeaderBytes>* rawSetup = nullptr;
    bool envelope = false;

    int32_t frame = 0;
    int64_t timeIndex = 0;
    int32_t frameGain = 0; // Gain_01dB of the frame's first record
    // The first record's header: what the panel, the readings and a gate re-measure describe.
    recording::FrameHeader header;
    recording::FrameHeaderBytes headerBytes{};
    // The header read last (an envelope frame's second record's).
    recording::FrameHeaderBytes lastHeaderBytes{};

    // The last decoded samples, and the first record's raw samples (what a gate
    // re-measure measures). A read that came up short leaves the trace before.
    recording::DecodedTrace trace;
    std::array<int16_t, recording::kAscanPointCount> measuredRaw{};
    bool traceDecoded = false;    // this frame decoded a sample block: the trace mode is handed over
    bool shortRead = false;       // a read came up short against the end of the file
    bool ownTraceMissing = false; // the first record's samples were cut short

    GateView gates;
    // Rows 1, 3, 4 and the display window come with the frames of a normal
    // recording; an envelope recording's frames leave them to open and play start.
    bool unitRows = false;
    ScaleView scale;
    PanelView panel;
    std::array<ReadingView, recording::kReadingSlots> readings;
    std::string title;

    // iPointArray: 1601 points, or 3201 for an envelope frame (live trace, then envelope).
    std::span<const int16_t> pointArray() const {
        if (envelope) return trace.EnvelopePoints;
        return trace.AscanPoints;
    }
    const PanelRowView& row(PanelRow r) const { return panel[indexOf(r)]; }
};

// Reads frame n into `view`, reusing its buffers; positions the recording's
// file past the last record read. Returns false when a read came up short.
bool readFrameView(recording::OpenRecording& recording, int32_t n, FrameView& view,
                   const FrameViewOptions& options = {});
FrameView frameView(recording::OpenRecording& recording, int32_t n, const FrameViewOptions& options = {});

// Gates, carets and thresholds of a frame's first record in display units, without the panel rows
// that show them (what a re-measure of the frame starts from).
void describeGatePositions(const recording::RecordingHeader& setup, const recording::FrameHeader& frame,
                           GateView& gates);

// Panel rows 1, 3 and 4 (velocity, rectification, units) and the display window:
// set at open and at play start, and with every frame of a normal recording.
void describeUnitRows(const recording::RecordingHeader& setup, const recording::DerivedSetup& derived,
                      PanelView& panel, ScaleView& scale);

} // namespace pelix::frame
