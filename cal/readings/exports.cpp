// The four exports through which the player hands over a frame's setup and
// gate results and takes back the formatted readings and the echo carets.
#include <cstring>

#include "pelix_cal.h"
#include "readings/gate_loading.h"
#include "readings/gate_paths.h"
#include "readings/reading_codes.h"
#include "readings/reading_text.h"
#include "readings/readings_state.h"
#include "readings/setup_loading.h"

using namespace pelix::cal::readings;

namespace {

// A caret position is a 32-bit word; extreme setups wrap as the instrument's registers do.
int32_t caretPosition(const Setup& setup, int64_t ticks) {
    const int64_t ns = nanoseconds(ticks) - setup.displayDelay_ns - setup.probeDelay_ns;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(ns)));
}

// writeReadingText, taken from the slot's last text when the reading and the units are the same:
// a player formats the seven readings of every frame, and most of them repeat from frame to frame.
bool writeReadingTextOnce(ReadingsState& state, int32_t slot, const Reading& reading, char* out) {
    static_assert(sizeof(WrittenText::text) == kReadingTextBytes);
    if (slot < 0 || slot >= kReadingCodeCapacity) return writeReadingText(reading, state.setup, out);
    WrittenText& w = state.writtenTexts[static_cast<std::size_t>(slot)];
    // The flags as one word, each read on its own (the reading was just written byte by byte).
    const uint32_t flags =
        (reading.hasValue ? 1U : 0U) | (reading.live ? 2U : 0U) | (reading.clipped ? 4U : 0U);
    const bool same = w.valid && w.kind == static_cast<int32_t>(reading.kind) && w.flags == flags &&
                      w.value == reading.value && w.textValue == reading.text &&
                      w.units == state.setup.units && w.velocity == state.setup.velocity;
    if (!same) {
        w.shown = writeReadingText(reading, state.setup, w.text.data());
        w.valid = true;
        w.kind = static_cast<int32_t>(reading.kind);
        w.flags = flags;
        w.value = reading.value;
        w.textValue = reading.text;
        w.units = state.setup.units;
        w.velocity = state.setup.velocity;
    }
    std::memcpy(out, w.text.data(), kReadingTextBytes);
    return w.shown;
}

} // namespace

extern "C" {

PELIX_CAL_API void SetHeaderData(const uint8_t* recordingHeader, const uint8_t* frameHeader) {
    loadSetup(readingsState(), recordingHeader, frameHeader);
}

PELIX_CAL_API void UpdateGateData(const double* gateData) {
    loadGates(readingsState(), gateData);
}

PELIX_CAL_API int32_t FormatCVRsltValue(int32_t slot, ReadingResult* result) {
    if (result == nullptr) return 1;
    ReadingsState& state = readingsState();
    const Reading reading = evaluateReadingCode(state, codeOfSlot(state, slot));
    const bool shown = writeReadingTextOnce(state, slot, reading, result->text);
    result->secondText[0] = '\0';
    result->current = shown && !reading.live ? 0 : 1;
    return 1;
}

PELIX_CAL_API void CVUpdatedCaret(int32_t* aTriggered, int32_t* aCaret, int32_t* bTriggered,
                                  int32_t* bCaret) {
    const ReadingsState& state = readingsState();
    const Gate& a = state.gateA;
    const Gate& b = state.gateB;
    if (aTriggered != nullptr) *aTriggered = a.triggered ? 1 : 0;
    if (bTriggered != nullptr) *bTriggered = b.triggered ? 1 : 0;
    if (a.triggered && aCaret != nullptr) *aCaret = caretPosition(state.setup, a.time);
    if (b.triggered && bCaret != nullptr) {
        const int64_t fromA = state.setup.gateBRelative == 1 ? a.time : 0;
        *bCaret = caretPosition(state.setup, int64_t{b.time} + fromA);
    }
}

} // extern "C"
