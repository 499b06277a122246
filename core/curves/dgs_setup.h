// The calculation library's DGS set-up: the parameter block its DGS exports
// take, built from the recording's DGS settings, and the calls that leave the
// library's module-wide DGS state (near field, reference correction, the
// curve of the ERS the display draws) in place. The A-scan control makes these
// calls while it draws the DGS curves; the DGS readings of a recording read
// that state, so a re-measure without a display makes the same calls first.
#pragma once

#include "cal/include/pelix_cal.h"

#include <array>
#include <cstdint>
#include <optional>

namespace pelix::curves {

// The recording's DGS settings as the control holds them (its property names).
struct DgsSettings {
    std::int32_t ProbeDelay = 0; // ns
    double ttVelocity = 0.0;     // 0.1 m/s, as recorded
    std::int32_t DGSMode = 0;    // 1: the DGS curves are shown
    std::int32_t DGSRefStatus = 0;
    std::int32_t DGSProbeNum = 0;
    std::int32_t NumOfDGSDrawPnts = 0;
    std::int32_t DGSCurve = 0; // the ERS, um
    std::int32_t DGSXtalFreq = 0;
    std::int32_t DGSEffeDiam = 0;
    std::int32_t DGSDelayVel = 0;
    std::int32_t DGSRefType = 0;
    std::int32_t DGSRefSize = 0;
    std::int32_t DGSRefAtten = 0;
    std::int32_t DGSAmplCorr = 0;
    std::int32_t DGSTestAtten = 0;
    std::int32_t DGSRefDist = 0;
    std::int32_t DGSRefAmp = 0;
    std::int32_t DGSBaseGain = 0;
    std::int32_t DGSRefGain = 0;
    // The display window the curves are swept over.
    std::int32_t FilterSetup = 0;
    std::int32_t ttDisplayDelay = 0; // ns
    double ttDisplayRange = 0.0;     // um, as recorded
};

using DgsBlock = std::array<std::int32_t, PELIX_DGS_BLOCK_WORDS>;
using DgsPoints = std::array<DGSPoint, PELIX_DGS_MAX_POINTS>;

// The four exports the set-up calls, bound by the caller.
struct DgsExports {
    decltype(&::CVDGSNumOfERSCurvePoints) CVDGSNumOfERSCurvePoints = nullptr;
    decltype(&::CVDGSCalculateNearFields) CVDGSCalculateNearFields = nullptr;
    decltype(&::DGSEvaluateReference) DGSEvaluateReference = nullptr;
    decltype(&::CVDGSConvertDGStoDAC) CVDGSConvertDGStoDAC = nullptr;

    bool complete() const {
        return CVDGSNumOfERSCurvePoints && CVDGSCalculateNearFields && DGSEvaluateReference &&
               CVDGSConvertDGStoDAC;
    }
};

// Earliest time (ns) at which the curve sweep asks the library for a segment: the sweep converts
// the block at its first column at or after it.
inline constexpr std::int64_t kDgsSweepStartNs = -30000;

// The block the DGS exports take; none for settings the library cannot take (no catalogue row,
// no reference echo, a velocity beyond a 32-bit word), for which no DGS call is made at all.
std::optional<DgsBlock> dgsBlock(const DgsSettings& settings);

// The conversion of the ERS curve into time-of-flight points: near fields, the reference
// evaluation, the conversion, in the order the library expects them.
void convertErsCurve(DgsBlock& block, DgsPoints& points, const DgsExports& exports);

// Whether a sweep of the DGS curves over the display window reaches the conversion: the window
// can be worked out (a known filter, a velocity to divide by) and some column of it lies at or
// after kDgsSweepStartNs.
bool sweepConverts(const DgsSettings& settings);

// Leaves the library's DGS state as a drawing of the DGS curves leaves it: the ERS curve asked
// for and, when the DGS curves are shown and the sweep gets that far, converted. False when
// no call was made (settings the library cannot take, or exports missing).
bool setUpDgsState(const DgsSettings& settings, const DgsExports& exports);

} // namespace pelix::curves
