#include "readings/setup_loading.h"

#include <algorithm>
#include <cstring>

namespace pelix::cal::readings {

namespace {

int32_t lowByte(int32_t word) {
    return word & 0xFF;
}

Setup decodeSetup(const uint8_t* h) {
    Setup s;
    s.units = lowByte(bigEndianWord(h, 16));
    s.probeDelay_ns = bigEndianWord(h, 24);
    s.displayDelay_ns = bigEndianWord(h, 28);
    s.velocity = bigEndianWord(h, 32);
    s.rectification = bigEndianWord(h, 36);
    s.pathAsZoneNumber = lowByte(bigEndianWord(h, 48));
    s.zoneLengthsVariable = lowByte(bigEndianWord(h, 52));
    s.readingSlotCount = bigEndianWord(h, 100);
    // A count from the file beyond the library's fourteen codes must not read on;
    // codes the recording does not set stay 0 (no reading) rather than keep
    // those of an earlier recording.
    const int codes = std::clamp(s.readingSlotCount, 0, kReadingCodeCapacity);
    for (int i = 0; i < codes; ++i)
        s.readingCodes[static_cast<std::size_t>(i)] = bigEndianWord(h, 104 + 4 * i);
    s.evalMode = lowByte(bigEndianWord(h, 160));
    s.tcgMode = bigEndianWord(h, 164);
    s.dacCurveType = bigEndianWord(h, 172);
    for (std::size_t j = 0; j < s.curveOffsets_01dB.size(); ++j)
        s.curveOffsets_01dB[j] = bigEndianWord(h, 184 + 4 * j);
    s.storedPoints = bigEndianWord(h, 212);
    s.prbAngle_01deg = bigEndianWord(h, 680);
    s.trigThk_um = bigEndianWord(h, 684);
    s.probeXValue_um = bigEndianWord(h, 688);
    s.oDiameter_um = bigEndianWord(h, 696);
    s.dgsMode = bigEndianWord(h, 704);
    s.dgsProbeNum = bigEndianWord(h, 712);
    s.dgsEffeDiam_um = bigEndianWord(h, 728);
    s.dgsTestAtten = bigEndianWord(h, 752);
    s.dgsRefAmp_01pct = bigEndianWord(h, 760);
    s.dgsBaseGain_01dB = bigEndianWord(h, 764);
    s.dgsRefGain_01dB = bigEndianWord(h, 768);
    s.filterSetup = bigEndianWord(h, 772) & 0xF;
    s.gateBRelative = bigEndianWord(h, 776);
    s.jisEnable = bigEndianWord(h, 780) & 1;
    s.jisBoldLine = bigEndianWord(h, 784) & 3;
    s.cnDacRegs = bigEndianWord(h, 792) & 3;
    return s;
}

} // namespace

void loadSetup(ReadingsState& state, const uint8_t* recordingHeader, const uint8_t* frameHeader) {
    clearDerivedValues(state);

    state.recordingHeader = recordingHeader;
    if (frameHeader != nullptr)
        std::memcpy(state.frameHeader.data(), frameHeader, state.frameHeader.size());
    else
        state.frameHeader.fill(0);

    state.setup = recordingHeader != nullptr ? decodeSetup(recordingHeader) : Setup{};

    const uint8_t* f = state.frameHeader.data();
    state.frame.gateAThreshold_pct = littleEndianWord(f, 160);
    state.frame.gateAOn = littleEndianWord(f, 168);
    state.frame.gateBThreshold_pct = littleEndianWord(f, 192);
    state.frame.gateBOn = littleEndianWord(f, 200);
}

} // namespace pelix::cal::readings
