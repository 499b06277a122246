// The four readings exports of the calculation library, bound by name from the
// one loaded Pelix_Cal that the A-scan control shares: the library file is
// opened where the program's own libraries are looked for, and the same file
// yields the same loaded instance (the library keeps the setup record pointer
// it was given, and its DGS state is shared with the control's curves; the
// library keeps that state per thread, so a worker thread measures on its own). No Qt:
// a missing library or export is a text for the caller to report; the calls
// then do nothing.
#pragma once

#include "core/curves/dgs_setup.h"
#include "core/evaluation/gate_evaluation.h"

#include <array>
#include <cstdint>
#include <string>

struct ReadingResult;

namespace pelix::evaluation {

// One formatted reading: its text (8-bit characters, blanks trimmed) and
// whether the value is current (or there is none) rather than held.
struct CalReading {
    std::string text;
    bool current = true;
};

struct CalCarets {
    int32_t aTriggered = 0;
    int32_t aCaret = 0;
    int32_t bTriggered = 0;
    int32_t bCaret = 0;
};

class CalReadings {
  public:
    // Slots the library formats beyond the recording's seven.
    static constexpr int32_t kSlotSA = 7, kSlotAmpA = 8, kSlotSB = 9, kSlotAmpB = 10;

    // True when all four exports are at hand; otherwise failure() says why.
    bool bind();
    const std::string& failure() const;
    // The library keeps reading the setup record until the next call: it is given
    // the binding's own copy of `recordingHeader` (kRecordingHeaderBytes bytes), with
    // an EvalMode word outside 0..5 replaced by the code of the family the display draws.
    // `frameHeader` must stay alive and unchanged until the next call.
    void SetHeaderData(const uint8_t* recordingHeader, const uint8_t* frameHeader);
    void UpdateGateData(const evaluation::GateDataArray& gates);
    CalReading FormatCVRsltValue(int32_t slot);
    // The same into `out`, whose text keeps its storage (a table formats millions of readings).
    void FormatCVRsltValue(int32_t slot, CalReading& out);
    CalCarets CVUpdatedCaret();
    // The library's DGS exports from the same loaded instance; incomplete when it lacks one.
    curves::DgsExports dgsExports();
};

// The leading number of a reading text ("29.74mm" -> 29.74, ">104%" -> 0,
// "-----" -> 0), as the panel rows take it.
double leadingNumber(const std::string& text);

} // namespace pelix::evaluation
