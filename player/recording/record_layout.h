// Sizes and offsets of the records in a recording file.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelix::recording {

inline constexpr std::size_t kRecordingHeaderBytes = 1024;
inline constexpr std::size_t kFrameHeaderBytes = 448;
inline constexpr std::size_t kSampleBlockBytes = 1600;
inline constexpr std::size_t kSamplePairs = 800;
inline constexpr std::size_t kFrameRecordBytes = kFrameHeaderBytes + kSampleBlockBytes; // 2048
inline constexpr std::size_t kTcgPoints = 16;
inline constexpr std::size_t kReadingSlots = 7;
inline constexpr std::size_t kCurveOffsets = 6;
inline constexpr std::size_t kZoneLengths = 10;

// The four identification bytes every recording starts with.
inline constexpr uint8_t kMagicBytes[4] = {0x55, 0xAA, 0x55, 0xAA};
inline constexpr int32_t kOldestVersion = 6;
// Version 7 instruments wrote four unused bytes after the setup record.
inline constexpr int32_t kVersionWithPadding = 7;

// Offsets inside the setup record (big-endian words).
namespace rh {
inline constexpr std::size_t Magic = 0, Version = 4, FlagCount = 8, RateSelect = 12, Units = 16,
                             DisplayRange_um = 20, ProbeDelay = 24, DisplayDelay_ns = 28, Velocity = 32,
                             Rectification = 36, GateBTrigger = 44, PathAsZoneNumber = 48,
                             ZoneLengthsVariable = 52, ZoneLengths = 56, ReadingSlotCount = 100,
                             ReadingCodes = 104, ReadingModes = 132, EvalMode = 160, TCGMode = 164,
                             TCGDisplay = 168, DACCurveType = 172, CurveOffsets = 184, TCGCurveStatus = 208,
                             TCGPointTable = 212, TCGPoints = 228, TCGPointStride = 28, PrbAngle = 680,
                             TrigThk = 684, ProbeXValue = 688, TrigColorLeg = 692, ODiameter = 696, BEA = 700,
                             DGSMode = 704, DGSRefStatus = 708, DGSProbeNum = 712, NumOfDGSDrawPnts = 716,
                             DGSCurve = 720, DGSXtalFreq = 724, DGSEffeDiam = 728, DGSDelayVel = 732,
                             DGSRefType = 736, DGSRefSize = 740, DGSRefAtten = 744, DGSAmplCorr = 748,
                             DGSTestAtten = 752, DGSRefDist = 756, DGSRefAmp = 760, DGSBaseGain = 764,
                             DGSRefGain = 768, FilterSetup = 772, GateBRelative = 776, JISEnable = 780,
                             JISBoldLine = 784, Envelope = 788, CNDACRegs = 792, BWGain = 796;
// Inside one TCG point record.
inline constexpr std::size_t ulRecordedAMP_01PCT = 4, ulRecordedGain_01dB = 8, ulHardwareTOF_20ns = 12,
                             ulFinalGain_01dB = 20, ulAmpAtRefGain_01PCT = 24;
} // namespace rh

// Offsets inside a frame header (little-endian words).
namespace fh {
inline constexpr std::size_t FrameFlag = 0, ReadingNoValue = 8, ReadingLive = 36, ReadingValue = 64,
                             ReadingKind = 92, ReadingClipped = 120, Gain_01dB = 148, GateAStart_um = 152,
                             GateAWidth_um = 156, GateAThreshold = 160, GateAMode = 164, GateAOn = 168,
                             GateATOF_2_5ns = 172, GateAAmplitude = 176, GateAValid = 180,
                             GateBStart_um = 184, GateBWidth_um = 188, GateBThreshold = 192, GateBMode = 196,
                             GateBOn = 200, GateBTOF_2_5ns = 204, GateBAmplitude = 208, GateBValid = 212;
} // namespace fh

} // namespace pelix::recording
