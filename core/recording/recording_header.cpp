#include "core/recording/recording_header.h"

namespace pelix::recording {

namespace {
using layout::read;
using layout::readTcgPoint;
} // namespace

bool RecordingHeader::magicMatches() const {
    return Magic == read(kMagicBytes, rh::Magic);
}

int32_t RecordingHeader::headerSize() const {
    return Version == kVersionWithPadding
               ? static_cast<int32_t>(kRecordingHeaderBytes + layout::kVersion7PaddingBytes)
               : static_cast<int32_t>(kRecordingHeaderBytes);
}

RecordingHeader decodeRecordingHeader(const uint8_t* raw) {
    RecordingHeader h;
    h.Magic = read(raw, rh::Magic);
    h.Version = read(raw, rh::Version);
    h.FlagCount = read(raw, rh::FlagCount);
    h.RateSelect = read(raw, rh::RateSelect);
    h.Units = static_cast<uint8_t>(read(raw, rh::Units) & 0xFF);
    h.DisplayRange_um = read(raw, rh::DisplayRange_um);
    h.ProbeDelay = read(raw, rh::ProbeDelay);
    h.DisplayDelay_ns = read(raw, rh::DisplayDelay_ns);
    h.Velocity = read(raw, rh::Velocity);
    h.Rectification = read(raw, rh::Rectification);
    h.GateBTrigger = read(raw, rh::GateBTrigger);
    h.PathAsZoneNumber = read(raw, rh::PathAsZoneNumber);
    h.ZoneLengthsVariable = read(raw, rh::ZoneLengthsVariable);
    for (std::size_t k = 0; k < kZoneLengths; ++k)
        h.ZoneLengths[k] = read(raw, rh::ZoneLengths, k);
    h.ReadingSlotCount = read(raw, rh::ReadingSlotCount);
    for (std::size_t i = 0; i < kReadingSlots; ++i) {
        h.ReadingCodes[i] = read(raw, rh::ReadingCodes, i);
        h.ReadingModes[i] = read(raw, rh::ReadingModes, i);
    }
    h.EvalMode = read(raw, rh::EvalMode);
    h.TCGMode = read(raw, rh::TCGMode);
    h.TCGDisplay = read(raw, rh::TCGDisplay);
    h.DACCurveType = read(raw, rh::DACCurveType);
    for (std::size_t j = 0; j < kCurveOffsets; ++j)
        h.CurveOffsets[j] = read(raw, rh::CurveOffsets, j);
    h.TCGCurveStatus = read(raw, rh::TCGCurveStatus);
    h.TCGPoints.ulNumOfStoredPoints = read(raw, rh::ulNumOfStoredPoints);
    for (std::size_t k = 0; k < kTcgPoints; ++k) {
        h.TCGPoints.ulRecordedAMP_01PCT[k] = readTcgPoint(raw, k, tp::ulRecordedAMP_01PCT);
        h.TCGPoints.ulRecordedGain_01dB[k] = readTcgPoint(raw, k, tp::ulRecordedGain_01dB);
        h.TCGPoints.ulHardwareTOF_20ns[k] = readTcgPoint(raw, k, tp::ulHardwareTOF_20ns);
        h.TCGPoints.ulFinalGain_01dB[k] = readTcgPoint(raw, k, tp::ulFinalGain_01dB);
        h.TCGPoints.ulAmpAtRefGain_01PCT[k] = readTcgPoint(raw, k, tp::ulAmpAtRefGain_01PCT);
    }
    h.PrbAngle = read(raw, rh::PrbAngle);
    h.TrigThk = read(raw, rh::TrigThk);
    h.ProbeXValue = read(raw, rh::ProbeXValue);
    h.TrigColorLeg = read(raw, rh::TrigColorLeg);
    h.ODiameter = read(raw, rh::ODiameter);
    h.BEA = read(raw, rh::BEA);
    h.DGSMode = read(raw, rh::DGSMode);
    h.DGSRefStatus = read(raw, rh::DGSRefStatus);
    h.DGSProbeNum = read(raw, rh::DGSProbeNum);
    h.NumOfDGSDrawPnts = read(raw, rh::NumOfDGSDrawPnts);
    h.DGSCurve = read(raw, rh::DGSCurve);
    h.DGSXtalFreq = read(raw, rh::DGSXtalFreq);
    h.DGSEffeDiam = read(raw, rh::DGSEffeDiam);
    h.DGSDelayVel = read(raw, rh::DGSDelayVel);
    h.DGSRefType = read(raw, rh::DGSRefType);
    h.DGSRefSize = read(raw, rh::DGSRefSize);
    h.DGSRefAtten = read(raw, rh::DGSRefAtten);
    h.DGSAmplCorr = read(raw, rh::DGSAmplCorr);
    h.DGSTestAtten = read(raw, rh::DGSTestAtten);
    h.DGSRefDist = read(raw, rh::DGSRefDist);
    h.DGSRefAmp = read(raw, rh::DGSRefAmp);
    h.DGSBaseGain = read(raw, rh::DGSBaseGain);
    h.DGSRefGain = read(raw, rh::DGSRefGain);
    h.FilterSetup = read(raw, rh::FilterSetup);
    h.GateBRelative = read(raw, rh::GateBRelative);
    h.JISEnable = read(raw, rh::JISEnable);
    h.JISBoldLine = read(raw, rh::JISBoldLine);
    h.Envelope = read(raw, rh::Envelope);
    h.CNDACRegs = read(raw, rh::CNDACRegs);
    h.BWGain = read(raw, rh::BWGain);
    return h;
}

} // namespace pelix::recording
