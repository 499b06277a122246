// A gate re-measure: the gates of a shown frame moved (dragged in the window,
// or given on the command line), both gates are measured again on the frame's
// recorded samples, and the calculation library turns the results into the
// seven readings, the panel rows of the shown gates and the echo carets.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/evaluation/gate_evaluation.h"
#include "core/frame/frame_view.h"

#include <array>
#include <optional>

namespace pelix::frame {

struct Remeasured {
    // The frame's header with the moved thresholds in place of the recorded ones.
    recording::FrameHeaderBytes headerBytes{};
    std::array<evaluation::CalReading, recording::kReadingSlots> readings;
    // Values of rows 5, 7, 8, 9 (gate A shown) and 10, 12, 13, 14 (gate B
    // shown); the rows of a hidden gate keep what they showed.
    PanelView rows;
    // The numbers rows 9 and 14 show (0 for a held reading); none while the gate is hidden.
    std::optional<double> amplitudeA, amplitudeB;
    bool DrawCaratOne = false;
    float fCaretOne = 0.0F;
    bool DrawCaratTwo = false;
    float fCaretTwo = 0.0F;
};

// What a re-measure makes besides the gate results handed to the library. A table leaves out what
// it does not show (each text costs the library a formatting); what is left out stays empty.
struct RemeasureOptions {
    static constexpr uint32_t kAllReadingSlots = (1U << recording::kReadingSlots) - 1;

    // The panel rows as texts (they need the amplitude and sound path numbers).
    bool panelRows = true;
    // The reading slots (bit i for slot i) whose texts are made.
    uint32_t readingSlots = kAllReadingSlots;
    // The amplitude numbers of rows 9 and 14.
    bool amplitudes = true;
    // The echo carets.
    bool carets = true;
};

// Measures `gates` on `view` (its first record's header and samples). The
// evaluation keeps the results of a hidden gate from one re-measure to the
// next; none without the calculation library (cal.failure() says why).
std::optional<Remeasured> remeasureGates(const FrameView& view, const evaluation::MovedGates& gates,
                                         evaluation::GateEvaluation& evaluation, evaluation::CalReadings& cal,
                                         const RemeasureOptions& options = {});
// The same into `out` (reused from frame to frame, so a long run allocates nothing), on the
// frame's sample block as the file holds it (its first record's) in place of view.measuredRaw,
// decoding only the samples the gates read; view.header must be the decoded view.headerBytes.
// False without the calculation library.
bool remeasureGatesInto(Remeasured& out, const FrameView& view, const uint8_t* sampleBlock,
                        const evaluation::MovedGates& gates, evaluation::GateEvaluation& evaluation,
                        evaluation::CalReadings& cal, const RemeasureOptions& options);

// The whole percent an amplitude row (9 or 14) shows after a re-measure; none while its gate is
// hidden (the row is not written then).
std::optional<int32_t> shownAmplitude(const Remeasured& result, PanelRow row);

} // namespace pelix::frame
