#include "ascanview/curves/curve_setup.h"

#include "ascanview/interface/control_properties.h"
#include "ascanview/render/checked_math.h"

#include <cmath>

namespace pelix::ascanview {

std::optional<std::int32_t> filterDelayEntry(std::int32_t filterSetup) {
    return curves::filterDelayEntry(filterSetup);
}

std::optional<std::int32_t> filterDelayNs(std::int32_t filterSetup) {
    return curves::filterDelayNs(filterSetup);
}

curves::DgsSettings dgsSettings(const ControlProperties& p) {
    curves::DgsSettings s;
    s.ProbeDelay = p.ProbeDelay;
    s.ttVelocity = p.ttVelocity;
    s.DGSMode = p.DGSMode;
    s.DGSRefStatus = p.DGSRefStatus;
    s.DGSProbeNum = p.DGSProbeNum;
    s.NumOfDGSDrawPnts = p.NumOfDGSDrawPnts;
    s.DGSCurve = p.DGSCurve;
    s.DGSXtalFreq = p.DGSXtalFreq;
    s.DGSEffeDiam = p.DGSEffeDiam;
    s.DGSDelayVel = p.DGSDelayVel;
    s.DGSRefType = p.DGSRefType;
    s.DGSRefSize = p.DGSRefSize;
    s.DGSRefAtten = p.DGSRefAtten;
    s.DGSAmplCorr = p.DGSAmplCorr;
    s.DGSTestAtten = p.DGSTestAtten;
    s.DGSRefDist = p.DGSRefDist;
    s.DGSRefAmp = p.DGSRefAmp;
    s.DGSBaseGain = p.DGSBaseGain;
    s.DGSRefGain = p.DGSRefGain;
    s.FilterSetup = p.FilterSetup;
    s.ttDisplayDelay = p.ttDisplayDelay;
    s.ttDisplayRange = p.ttDisplayRange;
    return s;
}

std::optional<DisplayWindow> displayWindow(double ttDisplayDelay, double probeDelay, double ttDisplayRange,
                                           double ttVelocity) {
    const auto delay5 = roundToLong(ttDisplayDelay / 5.0);
    const auto probe5 = roundToLong(probeDelay / 5.0);
    const auto range5 = divide(ttDisplayRange * 4400.0, ttVelocity);
    if (!delay5 || !probe5 || !range5) return std::nullopt;
    const std::int64_t start = static_cast<std::int64_t>(*delay5) + *probe5;
    if (start < INT32_MIN || start > INT32_MAX) return std::nullopt;
    DisplayWindow w;
    w.slDispStartTime5ns = static_cast<std::int32_t>(start);
    w.ulDispRangeTime5ns = *range5;
    w.slDispEndTime5ns = *range5 + static_cast<double>(start);
    return w;
}

std::optional<double> gainRatio(double gain, double refGain, double offset) {
    const double ratio = std::pow(10.0, (gain - refGain + offset) / 200.0) * 10000.0;
    if (!std::isfinite(ratio)) return std::nullopt;
    return ratio;
}

} // namespace pelix::ascanview
