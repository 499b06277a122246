// The four readings exports of the calculation library, bound by name from the
// one loaded Pelix_Cal that the A-scan control shares. A missing library or
// export is reported once through the message service; the calls then do nothing.
#pragma once

#include "core/evaluation/gate_evaluation.h"

#include <array>
#include <cstdint>
#include <string>

struct ReadingResult;

namespace pelix::player {

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

    // True when all four exports are at hand.
    bool bind();
    // `recordingHeader` must stay alive and unchanged until the next call: the library keeps reading it.
    void SetHeaderData(const uint8_t* recordingHeader, const uint8_t* frameHeader);
    void UpdateGateData(const evaluation::GateDataArray& gates);
    CalReading FormatCVRsltValue(int32_t slot);
    CalCarets CVUpdatedCaret();

  private:
    using SetHeaderDataFn = void (*)(const uint8_t*, const uint8_t*);
    using UpdateGateDataFn = void (*)(const double*);
    using FormatFn = int32_t (*)(int32_t, ReadingResult*);
    using CaretFn = void (*)(int32_t*, int32_t*, int32_t*, int32_t*);

    bool m_bound = false;
    SetHeaderDataFn m_setHeaderData = nullptr;
    UpdateGateDataFn m_updateGateData = nullptr;
    FormatFn m_format = nullptr;
    CaretFn m_caret = nullptr;
};

// The leading number of a reading text ("29.74mm" -> 29.74, ">104%" -> 0,
// "-----" -> 0), as the panel rows take it.
double leadingNumber(const std::string& text);

} // namespace pelix::player
