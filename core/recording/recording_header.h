// The setup record of a recording, decoded from its big-endian words.
#pragma once

#include "core/recording/record_layout.h"

#include <array>
#include <cstdint>

namespace pelix::recording {

// The instrument's DAC/TCG reference points; every column holds all sixteen
// rows, whatever ulNumOfStoredPoints says.
struct TCGPointTable {
    int32_t ulNumOfStoredPoints = 0;
    std::array<int32_t, kTcgPoints> ulRecordedAMP_01PCT{};
    std::array<int32_t, kTcgPoints> ulRecordedGain_01dB{};
    std::array<int32_t, kTcgPoints> ulHardwareTOF_20ns{};
    std::array<int32_t, kTcgPoints> ulFinalGain_01dB{};
    std::array<int32_t, kTcgPoints> ulAmpAtRefGain_01PCT{};
};

struct RecordingHeader {
    int32_t Magic = 0; // as stored: the bytes 55 AA 55 AA read in host order
    int32_t Version = 0;
    int32_t FlagCount = 0;
    int32_t RateSelect = 0;
    uint8_t Units = 0; // 1 inch, 2 microseconds (readings only), otherwise millimetre
    int32_t DisplayRange_um = 0;
    int32_t ProbeDelay = 0;
    int32_t DisplayDelay_ns = 0;
    int32_t Velocity = 0; // 0.1 m/s
    int32_t Rectification = 0;
    int32_t GateBTrigger = 0;
    int32_t PathAsZoneNumber = 0;
    int32_t ZoneLengthsVariable = 0;
    // The readings panel uses the zone lengths as stored, without byte swap.
    std::array<int32_t, kZoneLengths> ZoneLengths{};
    int32_t ReadingSlotCount = 0;
    std::array<int32_t, kReadingSlots> ReadingCodes{};
    std::array<int32_t, kReadingSlots> ReadingModes{};
    int32_t EvalMode = 0;
    int32_t TCGMode = 0;
    int32_t TCGDisplay = 0;
    int32_t DACCurveType = 0;
    std::array<int32_t, kCurveOffsets> CurveOffsets{};
    int32_t TCGCurveStatus = 0;
    TCGPointTable TCGPoints;
    int32_t PrbAngle = 0;
    int32_t TrigThk = 0;
    int32_t ProbeXValue = 0;
    int32_t TrigColorLeg = 0;
    int32_t ODiameter = 0;
    int32_t BEA = 0;
    int32_t DGSMode = 0;
    int32_t DGSRefStatus = 0;
    int32_t DGSProbeNum = 0;
    int32_t NumOfDGSDrawPnts = 0;
    int32_t DGSCurve = 0;
    int32_t DGSXtalFreq = 0;
    int32_t DGSEffeDiam = 0;
    int32_t DGSDelayVel = 0;
    int32_t DGSRefType = 0;
    int32_t DGSRefSize = 0;
    int32_t DGSRefAtten = 0;
    int32_t DGSAmplCorr = 0;
    int32_t DGSTestAtten = 0;
    int32_t DGSRefDist = 0;
    int32_t DGSRefAmp = 0;
    int32_t DGSBaseGain = 0;
    int32_t DGSRefGain = 0;
    int32_t FilterSetup = 0;
    int32_t GateBRelative = 0;
    int32_t JISEnable = 0;
    int32_t JISBoldLine = 0;
    int32_t Envelope = 0;
    int32_t CNDACRegs = 0;
    int32_t BWGain = 0;

    bool magicMatches() const;
    bool isEnvelope() const { return Envelope == 1; }
    bool isInch() const { return Units == 1; }
    // 10 frames per second when RateSelect is set, else 50.
    int32_t framesPerSecond() const { return RateSelect != 0 ? 10 : 50; }
    int32_t headerSize() const;
};

// Decodes the 1024 bytes of a setup record; never fails (validation is separate).
RecordingHeader decodeRecordingHeader(const uint8_t* raw);

} // namespace pelix::recording
