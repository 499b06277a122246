#include "readings/setup_loading.h"

#include "pelix_cal.h"

#include <algorithm>
#include <cstring>

namespace pelix::cal::readings {

// The C interface names the record sizes for its callers; they are the recording's own.
static_assert(PELIX_RECORDING_HEADER_BYTES == layout::kRecordingHeaderBytes);
static_assert(PELIX_FRAME_HEADER_BYTES == layout::kFrameHeaderBytes);

namespace {

using layout::read;
namespace setup = layout::setup;
namespace frame = layout::frame;

int32_t lowByte(int32_t word) {
    return word & 0xFF;
}

Setup decodeSetup(const uint8_t* h) {
    Setup s;
    s.units = lowByte(read(h, setup::Units));
    s.probeDelay_ns = read(h, setup::ProbeDelay);
    s.displayDelay_ns = read(h, setup::DisplayDelay_ns);
    s.velocity = read(h, setup::Velocity);
    s.rectification = read(h, setup::Rectification);
    s.pathAsZoneNumber = lowByte(read(h, setup::PathAsZoneNumber));
    s.zoneLengthsVariable = lowByte(read(h, setup::ZoneLengthsVariable));
    s.readingSlotCount = read(h, setup::ReadingSlotCount);
    // A count from the file beyond the library's fourteen codes must not read on (codes past
    // the seventh are read on into the words that follow, as the instrument's library does);
    // codes the recording does not set stay 0 (no reading) rather than keep
    // those of an earlier recording.
    const int codes = std::clamp(s.readingSlotCount, 0, kReadingCodeCapacity);
    for (int i = 0; i < codes; ++i)
        s.readingCodes[static_cast<std::size_t>(i)] =
            read(h, setup::ReadingCodes, static_cast<std::size_t>(i));
    s.evalMode = lowByte(read(h, setup::EvalMode));
    s.tcgMode = read(h, setup::TCGMode);
    s.dacCurveType = read(h, setup::DACCurveType);
    for (std::size_t j = 0; j < s.curveOffsets_01dB.size(); ++j)
        s.curveOffsets_01dB[j] = read(h, setup::CurveOffsets, j);
    s.storedPoints = read(h, setup::ulNumOfStoredPoints);
    s.prbAngle_01deg = read(h, setup::PrbAngle);
    s.trigThk_um = read(h, setup::TrigThk);
    s.probeXValue_um = read(h, setup::ProbeXValue);
    s.oDiameter_um = read(h, setup::ODiameter);
    s.dgsMode = read(h, setup::DGSMode);
    s.dgsProbeNum = read(h, setup::DGSProbeNum);
    s.dgsEffeDiam_um = read(h, setup::DGSEffeDiam);
    s.dgsTestAtten = read(h, setup::DGSTestAtten);
    s.dgsRefAmp_01pct = read(h, setup::DGSRefAmp);
    s.dgsBaseGain_01dB = read(h, setup::DGSBaseGain);
    s.dgsRefGain_01dB = read(h, setup::DGSRefGain);
    s.filterSetup = read(h, setup::FilterSetup) & 0xF;
    s.gateBRelative = read(h, setup::GateBRelative);
    s.jisEnable = read(h, setup::JISEnable) & 1;
    s.jisBoldLine = read(h, setup::JISBoldLine) & 3;
    s.cnDacRegs = read(h, setup::CNDACRegs) & 3;
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

    if (recordingHeader == nullptr) {
        state.setup = Setup{};
        state.setupDecoded = false;
    } else if (!state.setupDecoded ||
               std::memcmp(state.setupBytes.data(), recordingHeader, state.setupBytes.size()) != 0) {
        state.setup = decodeSetup(recordingHeader);
        std::memcpy(state.setupBytes.data(), recordingHeader, state.setupBytes.size());
        state.setupDecoded = true;
    }

    const uint8_t* f = state.frameHeader.data();
    state.frame.gateAThreshold_pct = read(f, frame::GateAThreshold);
    state.frame.gateAOn = read(f, frame::GateAOn);
    state.frame.gateBThreshold_pct = read(f, frame::GateBThreshold);
    state.frame.gateBOn = read(f, frame::GateBOn);
}

} // namespace pelix::cal::readings
