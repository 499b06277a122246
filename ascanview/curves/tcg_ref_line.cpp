// The TCG reference lines: with time-corrected gain every reference echo
// stands at one height, so the curve becomes a horizontal line from the first
// to the last reference point, with offset lines above or below it.
#include "ascanview/curves/evaluation_curve_drawer.h"

#include "ascanview/render/checked_math.h"
#include "ascanview/render/label_text.h"

#include <cmath>

namespace pelix::ascanview {

namespace {

constexpr double kLabelMinLevel = 40.0;
constexpr double kLabelRightMargin = 64.0;
// The instrument draws its TCG lines this many units below the amplitude.
constexpr double kLineDrop = 30.0;

} // namespace

bool EvaluationCurveDrawer::drawTcgRefLine(std::int32_t offset, std::int32_t thickness, double label) {
    if (!(m_props.TCGMode == 1 && m_props.TCGCurveStatus == 2 && m_props.TCGDisplay == 1)) return true;
    const auto window =
        displayWindow(m_props.ttDisplayDelay, m_props.ProbeDelay, m_props.ttDisplayRange, m_props.ttVelocity);
    if (!window) return false;
    const auto entry = filterDelayEntry(m_props.FilterSetup);
    if (!entry) return false;
    const std::int64_t fd5 = *entry + 12; // the filter delay in 5 ns steps

    const std::int32_t n = m_props.ulNumOfStoredPoints;
    if (n < 1 || n > PELIX_CAL_DAC_POINTS) return false;
    const auto& tof = m_props.ulHardwareTOF_20ns;
    if (!tof.has(0) || !tof.has(n - 1)) return false;
    const auto endWhole = roundToLong(window->slDispEndTime5ns);
    if (!endWhole) return false;
    const auto clamp = [&](std::int64_t t) {
        if (t < window->slDispStartTime5ns) t = window->slDispStartTime5ns;
        if (static_cast<double>(t) > window->slDispEndTime5ns) t = *endWhole;
        return t;
    };
    const std::int64_t s = clamp(4 * static_cast<std::int64_t>(tof.at(0)) - fd5);
    const std::int64_t e =
        clamp(4 * static_cast<std::int64_t>(tof.at(static_cast<std::size_t>(n - 1))) - fd5);
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    const auto x1 =
        divide(static_cast<double>(s - window->slDispStartTime5ns) * w, window->ulDispRangeTime5ns);
    const auto x2 =
        divide(static_cast<double>(e - window->slDispStartTime5ns) * w, window->ulDispRangeTime5ns);
    if (!x1 || !x2) return false;

    if (!m_props.ulFinalGain_01dB.has(0) || !m_props.ulAmpAtRefGain_01PCT.has(0)) return false;
    const double reference = m_props.ulAmpAtRefGain_01PCT.at(0);
    const auto ratio = gainRatio(m_props.Gain, m_props.ulFinalGain_01dB.at(0), offset);
    if (!ratio) return false;
    double level = reference * *ratio / 25000.0;
    if (!std::isfinite(level)) return false;
    if (level > h) return true;
    level /= 4.0; // percent of screen height
    const double y = offset != 0 ? h + kLineDrop - level / 100.0 * h : h + kLineDrop - reference / 1000.0 * h;

    for (std::int32_t i = 0; i <= thickness; ++i)
        m_surface.segment(*x1, y + i, *x2, y + i, kCurveRed);

    if (label != 0.0 && level > kLabelMinLevel && *x1 < w - kLabelRightMargin) {
        if (y <= 0.0) {
            m_surface.moveTo(*x1, y);
        } else {
            writeLabel(*x1, y + 5.0, formatDecibelLabel(label).toStdString());
        }
    }
    return true;
}

} // namespace pelix::ascanview
