#include "ascanview/curves/cal_exports.h"

#include "platform/library_binding.h"

#include <cstdio>

namespace pelix::ascanview {

namespace {

template <typename Function> void bind(Function& slot, const char* name) {
    auto& library = pelix::platform::LibraryBinding::pelixCal();
    slot = library.resolve<Function>(name);
    if (!slot) std::fprintf(stderr, "%s\n", library.lastError().toLocal8Bit().constData());
}

CalExports bindAll() {
    CalExports e;
    auto& library = pelix::platform::LibraryBinding::pelixCal();
    if (!library.load()) {
        std::fprintf(stderr, "%s\n", library.lastError().toLocal8Bit().constData());
        return e;
    }
    bind(e.DACConvertFromTCGPoints, "DACConvertFromTCGPoints");
    bind(e.GenerateDACCoefAkima, "GenerateDACCoefAkima");
    bind(e.INTLOG10LookUp, "INTLOG10LookUp");
    bind(e.CVDGSNumOfERSCurvePoints, "CVDGSNumOfERSCurvePoints");
    bind(e.CVDGSCalculateNearFields, "CVDGSCalculateNearFields");
    bind(e.DGSEvaluateReference, "DGSEvaluateReference");
    bind(e.CVDGSConvertDGStoDAC, "CVDGSConvertDGStoDAC");
    bind(e.CVDGSFindEarlierTOFPoint, "CVDGSFindEarlierTOFPoint");
    bind(e.CVDGSFindLaterTOFPoint, "CVDGSFindLaterTOFPoint");
    return e;
}

} // namespace

const CalExports& boundCalExports() {
    static const CalExports exports = bindAll();
    return exports;
}

} // namespace pelix::ascanview
