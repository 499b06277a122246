// The curved DAC: the Akima cubic through the reference points, evaluated at
// every column of the surface and drawn as one short stroke per column.
#include "ascanview/curves/evaluation_curve_drawer.h"

#include "ascanview/render/checked_math.h"

#include <cmath>

namespace pelix::ascanview {

namespace {

constexpr double kFullScreen = 400.0;
constexpr double kLabelMinAmplitude = 40.0;
constexpr double kLabelRightMargin = 64.0;
constexpr std::int32_t kLastSlot = PELIX_CAL_DAC_POINTS - 1;

// Every value the sweep evaluates must be a number; two points sharing one
// time leave the fit without one.
bool curveIsFinite(const DACCurve& curve) {
    const std::uint32_t last = std::min<std::uint32_t>(curve.ulNumOfSegments, kLastSlot);
    for (std::uint32_t k = 0; k <= last; ++k) {
        const DACPoint& p = curve.points[k];
        if (!std::isfinite(p.fTOF_1ns) || !std::isfinite(p.fAmp_01PCT)) return false;
        if (k < last && (!std::isfinite(p.fCoef3) || !std::isfinite(p.fCoef2) || !std::isfinite(p.fCoef1) ||
                         !std::isfinite(p.fCoef0)))
            return false;
    }
    return true;
}

} // namespace

bool EvaluationCurveDrawer::drawCurvedDac(std::int32_t offset, std::int32_t thickness,
                                          const std::string& label) {
    if (!dacCurveDrawn(false)) return true;
    const std::int32_t n = m_props.ulNumOfStoredPoints;
    if (n < 0 || n > PELIX_CAL_DAC_POINTS) return false;
    if (!m_cal.dacComplete()) return false;

    TCGPointTable table{};
    table.ulNumOfStoredPoints = static_cast<std::uint32_t>(n);
    for (std::int32_t k = 0; k < n; ++k) {
        const auto index = static_cast<std::size_t>(k);
        if (!m_props.ulHardwareTOF_20ns.has(k) || !m_props.ulFinalGain_01dB.has(k) ||
            !m_props.ulAmpAtRefGain_01PCT.has(k) || !m_props.ulRecordedGain_01dB.has(k) ||
            !m_props.ulRecordedAMP_01PCT.has(k))
            return false;
        TCGPoint& point = table.points[index];
        point.ulHardwareTOF_20ns = static_cast<std::uint32_t>(m_props.ulHardwareTOF_20ns.at(index));
        point.ulFinalGain_01dB = m_props.ulFinalGain_01dB.at(index);
        point.ulAmpAtRefGain_01PCT = m_props.ulAmpAtRefGain_01PCT.at(index);
        point.ulRecordedGain_01dB = m_props.ulRecordedGain_01dB.at(index);
        point.ulRecordedAMP_01PCT = m_props.ulRecordedAMP_01PCT.at(index);
    }
    if (!m_props.ulFinalGain_01dB.has(0)) return false;
    const std::int32_t refGain = m_props.ulFinalGain_01dB.at(0);
    DACCurve curve{};
    m_cal.DACConvertFromTCGPoints(&curve, &table, static_cast<std::uint32_t>(refGain));
    m_cal.GenerateDACCoefAkima(curve.points, &table, curve.ulNumOfSegments);
    if (!curveIsFinite(curve)) return false;

    const auto fd = filterDelayNs(m_props.FilterSetup);
    if (!fd) return false;
    const auto window =
        displayWindow(m_props.ttDisplayDelay, m_props.ProbeDelay, m_props.ttDisplayRange, m_props.ttVelocity);
    if (!window) return false;
    std::int32_t pb1 = 0;
    std::int32_t pb2 = 0;
    if (!gateBColumns(pb1, pb2)) return false;
    const double w = m_surface.scaleWidth();
    if (w == 0.0) return false;
    // The drawing works on a whole-unit picture height and leaves it so.
    const auto wholeHeight = roundToLong(m_surface.scaleHeight());
    if (!wholeHeight) return false;
    m_surface.setScale(w, *wholeHeight);
    const double h = *wholeHeight;

    // Time in ns at column x: the instrument's 5 ns grid plus the filter delay.
    const auto columnTime = [&](double x) -> std::optional<std::int64_t> {
        const auto t5 = roundToLong(x * window->ulDispRangeTime5ns / w);
        if (!t5) return std::nullopt;
        return 5 * (static_cast<std::int64_t>(*t5) + window->slDispStartTime5ns) + *fd;
    };
    const auto bs5 = roundToLong(pb1 * window->ulDispRangeTime5ns / w + window->slDispStartTime5ns);
    const auto be5 = roundToLong((static_cast<double>(pb2) + 1.0) * window->ulDispRangeTime5ns / w +
                                 window->slDispStartTime5ns);
    if (!bs5 || !be5) return false;
    const std::int64_t gateStart = 5 * static_cast<std::int64_t>(*bs5) + *fd;
    const std::int64_t gateEnd = 5 * static_cast<std::int64_t>(*be5) + *fd;

    const auto ratio = gainRatio(m_props.Gain, refGain, offset);
    const auto ratioB = gainRatio(m_props.BWGain, refGain, offset);
    if (!ratio || !ratioB) return false;

    bool captured = false;
    double labelX = 0.0;
    double labelY = 0.0;
    const auto finish = [&] {
        if (captured) writeLabel(labelX + 10.0, labelY + 10.0, label);
        return true;
    };

    bool havePrevious = false;
    double previous = 0.0;
    std::int32_t p = -1;
    std::int32_t knotOf = -1; // the point whose whole-ns time `knot` holds
    double knot = 0.0;
    for (double x = 0.0; x <= w; x += 1.0) {
        const auto t = columnTime(x);
        if (!t) return false;
        double columnRatio = *ratio;
        Rgb color = kCurveRed;
        if (m_props.BEA == 1) {
            if (gateStart <= *t && *t < gateEnd) {
                columnRatio = *ratioB;
                color = kCurveBlue;
            }
            // The stroke chain breaks at both gate B edges; the column at its end stays empty.
            if (*t == gateStart || *t == gateEnd) havePrevious = false;
            if (*t == gateEnd) continue;
        }
        const double time = static_cast<double>(*t);
        while (p < kLastSlot && curve.points[p + 1].fTOF_1ns != 0.0F && curve.points[p + 1].fTOF_1ns < time)
            ++p;
        if (p == kLastSlot || curve.points[p + 1].fTOF_1ns == 0.0F) return finish(); // beyond the last point

        double reference = curve.points[0].fAmp_01PCT;
        if (p >= 0) {
            const DACPoint& point = curve.points[p];
            if (p != knotOf) {
                const auto whole = roundToLong(point.fTOF_1ns);
                if (!whole) return false;
                knot = *whole;
                knotOf = p;
            }
            const double d = time - knot;
            reference = ((static_cast<double>(point.fCoef3) * d + point.fCoef2) * d + point.fCoef1) * d +
                        point.fCoef0;
        }
        double a = reference * columnRatio / 25000.0;
        if (!std::isfinite(a)) return false;
        if (a > kFullScreen) a = kFullScreen;
        const double y = h - a / kFullScreen * h;

        const double prev = havePrevious ? previous : y;
        const bool rising = prev > y;
        if (rising)
            m_surface.segment(x - 1.0, y - (prev - y + thickness) + 1.0, x, y, color);
        else
            m_surface.segment(x - 1.0, prev, x, y + (y - prev) + thickness - 1.0, color);
        if (!captured && a < kFullScreen && a > kLabelMinAmplitude && x < w - kLabelRightMargin) {
            captured = true;
            labelX = x;
            labelY = rising ? y : prev;
        }
        previous = y;
        havePrevious = true;
    }
    return finish();
}

} // namespace pelix::ascanview
