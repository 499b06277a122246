#include "player/recording/recording_header.h"

#include "player/recording/byte_order.h"

namespace pelix::recording {

namespace {
int32_t word(const uint8_t* raw, std::size_t offset) { return EndianSwap(littleEndianWord(raw + offset)); }
} // namespace

bool RecordingHeader::magicMatches() const {
    return Magic == littleEndianWord(kMagicBytes);
}

int32_t RecordingHeader::headerSize() const {
    return Version == kVersionWithPadding ? static_cast<int32_t>(kRecordingHeaderBytes) + 4
                                          : static_cast<int32_t>(kRecordingHeaderBytes);
}

RecordingHeader decodeRecordingHeader(const uint8_t* raw) {
    RecordingHeader h;
    h.Magic = littleEndianWord(raw + rh::Magic);
    h.Version = word(raw, rh::Version);
    h.FlagCount = word(raw, rh::FlagCount);
    h.RateSelect = word(raw, rh::RateSelect);
    h.Units = static_cast<uint8_t>(word(raw, rh::Units) & 0xFF);
    h.DisplayRange_um = word(raw, rh::DisplayRange_um);
    h.ProbeDelay = word(raw, rh::ProbeDelay);
    h.DisplayDelay_ns = word(raw, rh::DisplayDelay_ns);
    h.Velocity = word(raw, rh::Velocity);
    h.Rectification = word(raw, rh::Rectification);
    h.GateBTrigger = word(raw, rh::GateBTrigger);
    h.PathAsZoneNumber = word(raw, rh::PathAsZoneNumber);
    h.ZoneLengthsVariable = word(raw, rh::ZoneLengthsVariable);
    for (std::size_t k = 0; k < kZoneLengths; ++k) h.ZoneLengths[k] = littleEndianWord(raw + rh::ZoneLengths + 4 * k);
    h.ReadingSlotCount = word(raw, rh::ReadingSlotCount);
    for (std::size_t i = 0; i < kReadingSlots; ++i) {
        h.ReadingCodes[i] = word(raw, rh::ReadingCodes + 4 * i);
        h.ReadingModes[i] = word(raw, rh::ReadingModes + 4 * i);
    }
    h.EvalMode = word(raw, rh::EvalMode);
    h.TCGMode = word(raw, rh::TCGMode);
    h.TCGDisplay = word(raw, rh::TCGDisplay);
    h.DACCurveType = word(raw, rh::DACCurveType);
    for (std::size_t j = 0; j < kCurveOffsets; ++j) h.CurveOffsets[j] = word(raw, rh::CurveOffsets + 4 * j);
    h.TCGCurveStatus = word(raw, rh::TCGCurveStatus);
    h.TCGPoints.ulNumOfStoredPoints = word(raw, rh::TCGPointTable);
    for (std::size_t k = 0; k < kTcgPoints; ++k) {
        const std::size_t base = rh::TCGPoints + rh::TCGPointStride * k;
        h.TCGPoints.ulRecordedAMP_01PCT[k] = word(raw, base + rh::ulRecordedAMP_01PCT);
        h.TCGPoints.ulRecordedGain_01dB[k] = word(raw, base + rh::ulRecordedGain_01dB);
        h.TCGPoints.ulHardwareTOF_20ns[k] = word(raw, base + rh::ulHardwareTOF_20ns);
        h.TCGPoints.ulFinalGain_01dB[k] = word(raw, base + rh::ulFinalGain_01dB);
        h.TCGPoints.ulAmpAtRefGain_01PCT[k] = word(raw, base + rh::ulAmpAtRefGain_01PCT);
    }
    h.PrbAngle = word(raw, rh::PrbAngle);
    h.TrigThk = word(raw, rh::TrigThk);
    h.ProbeXValue = word(raw, rh::ProbeXValue);
    h.TrigColorLeg = word(raw, rh::TrigColorLeg);
    h.ODiameter = word(raw, rh::ODiameter);
    h.BEA = word(raw, rh::BEA);
    h.DGSMode = word(raw, rh::DGSMode);
    h.DGSRefStatus = word(raw, rh::DGSRefStatus);
    h.DGSProbeNum = word(raw, rh::DGSProbeNum);
    h.NumOfDGSDrawPnts = word(raw, rh::NumOfDGSDrawPnts);
    h.DGSCurve = word(raw, rh::DGSCurve);
    h.DGSXtalFreq = word(raw, rh::DGSXtalFreq);
    h.DGSEffeDiam = word(raw, rh::DGSEffeDiam);
    h.DGSDelayVel = word(raw, rh::DGSDelayVel);
    h.DGSRefType = word(raw, rh::DGSRefType);
    h.DGSRefSize = word(raw, rh::DGSRefSize);
    h.DGSRefAtten = word(raw, rh::DGSRefAtten);
    h.DGSAmplCorr = word(raw, rh::DGSAmplCorr);
    h.DGSTestAtten = word(raw, rh::DGSTestAtten);
    h.DGSRefDist = word(raw, rh::DGSRefDist);
    h.DGSRefAmp = word(raw, rh::DGSRefAmp);
    h.DGSBaseGain = word(raw, rh::DGSBaseGain);
    h.DGSRefGain = word(raw, rh::DGSRefGain);
    h.FilterSetup = word(raw, rh::FilterSetup);
    h.GateBRelative = word(raw, rh::GateBRelative);
    h.JISEnable = word(raw, rh::JISEnable);
    h.JISBoldLine = word(raw, rh::JISBoldLine);
    h.Envelope = word(raw, rh::Envelope);
    h.CNDACRegs = word(raw, rh::CNDACRegs);
    h.BWGain = word(raw, rh::BWGain);
    return h;
}

} // namespace pelix::recording
