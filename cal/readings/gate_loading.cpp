#include "readings/gate_loading.h"

#include <cmath>

namespace pelix::cal::readings {

namespace {

constexpr int32_t kNothingFound = static_cast<int32_t>(0x80000000u);
constexpr int32_t kTimeMask = 0x3FFFFF;

void loadGate(Gate& gate, const double* words) {
    gate.amplitudeWord = gateWord(words[0]);
    gate.timeWord = gateWord(words[1]);
    gate.thirdWord = gateWord(words[2]);

    gate.time = gate.timeWord & kTimeMask;
    gate.third = gate.thirdWord & kTimeMask;
    gate.amp01 = (gate.amplitudeWord & 0xFFF) * 1050 / 4095;
    gate.amp = gate.amp01 / 10;

    gate.triggered = gate.timeWord >= 0 && gate.amp >= TriggerThresholdPercent;
    if (gate.triggered) gate.heldTime = gate.time;
}

} // namespace

int32_t gateWord(double value) {
    constexpr double kLimit = 9223372036854775808.0; // 2^63
    if (!std::isfinite(value) || value >= kLimit || value <= -kLimit) return kNothingFound;
    const auto whole = static_cast<int64_t>(value);
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole)));
}

void loadGates(ReadingsState& state, const double* gateData) {
    if (gateData == nullptr) return;
    loadGate(state.gateA, gateData);
    loadGate(state.gateB, gateData + 3);
}

} // namespace pelix::cal::readings
