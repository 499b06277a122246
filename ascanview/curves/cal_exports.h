// The nine exports of the calculation library that the curve drawing calls,
// bound by name once through the process-wide library binding, so the control
// shares the DGS state the player's readings see.
#pragma once

#include "ascanview/interface/export.h"

#include "cal/include/pelix_cal.h"
#include "core/curves/dgs_setup.h"

namespace pelix::ascanview {

struct CalExports {
    decltype(&::DACConvertFromTCGPoints) DACConvertFromTCGPoints = nullptr;
    decltype(&::GenerateDACCoefAkima) GenerateDACCoefAkima = nullptr;
    decltype(&::INTLOG10LookUp) INTLOG10LookUp = nullptr;
    decltype(&::CVDGSNumOfERSCurvePoints) CVDGSNumOfERSCurvePoints = nullptr;
    decltype(&::CVDGSCalculateNearFields) CVDGSCalculateNearFields = nullptr;
    decltype(&::DGSEvaluateReference) DGSEvaluateReference = nullptr;
    decltype(&::CVDGSConvertDGStoDAC) CVDGSConvertDGStoDAC = nullptr;
    decltype(&::CVDGSFindEarlierTOFPoint) CVDGSFindEarlierTOFPoint = nullptr;
    decltype(&::CVDGSFindLaterTOFPoint) CVDGSFindLaterTOFPoint = nullptr;

    bool dacComplete() const { return DACConvertFromTCGPoints && GenerateDACCoefAkima; }
    bool dgsComplete() const {
        return INTLOG10LookUp && CVDGSNumOfERSCurvePoints && CVDGSCalculateNearFields &&
               DGSEvaluateReference && CVDGSConvertDGStoDAC && CVDGSFindEarlierTOFPoint &&
               CVDGSFindLaterTOFPoint;
    }
    // The exports the DGS set-up calls (shared with readings taken without a display).
    curves::DgsExports dgsExports() const {
        return {CVDGSNumOfERSCurvePoints, CVDGSCalculateNearFields, DGSEvaluateReference,
                CVDGSConvertDGStoDAC};
    }
};

// Resolved on the first call; an export that cannot be found stays null and
// is named once on standard error, and the curves needing it stay undrawn.
ASCANVIEW_API const CalExports& boundCalExports();

} // namespace pelix::ascanview
