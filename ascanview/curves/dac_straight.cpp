// The straight DAC: the reference points joined by straight pieces, each
// clipped to the displayed window and to the top of the screen, the part
// inside gate B following its own gain when BEA is 1.
#include "ascanview/curves/evaluation_curve_drawer.h"

#include "ascanview/render/checked_math.h"

#include <cmath>

namespace pelix::ascanview {

namespace {

constexpr double kFullScreen = 400.0; // amplitude steps of 0.25 % of screen height
constexpr double kLabelMinAmplitude = 40.0;
constexpr double kLabelRightMargin = 64.0;
constexpr std::int32_t kMaxPoints = 16;

std::optional<std::int32_t> toLong(std::int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

} // namespace

bool EvaluationCurveDrawer::gateBColumns(std::int32_t& first, std::int32_t& last) {
    const double w = m_surface.scaleWidth();
    const double delay = m_props.fAscanDelay;
    const double range = m_props.fAscanRange;
    const double start = m_props.fGateBStart;
    const double end = static_cast<double>(m_props.fGateBStart) + static_cast<double>(m_props.fGateBWidth);
    const auto p1 = divide(start - delay, range);
    const auto p2 = divide(end - delay, range);
    if (!p1 || !p2) return false;
    const auto pb1 = roundToLong(*p1 * w);
    const auto pb2 = roundToLong(*p2 * w);
    if (!pb1 || !pb2) return false;
    first = *pb1;
    last = *pb2;
    m_drag.gateBPixelStart = first;
    m_drag.gateBPixelEnd = last;
    return true;
}

bool EvaluationCurveDrawer::drawStraightDacSeg(StraightDacSegment& seg) {
    const double start = seg.slDispStartTime5ns;
    const double end = seg.slDispEndTime5ns;
    const auto e5 = roundToLong(seg.slEarlyTOF1ns / 5.0);
    const auto l5 = roundToLong(seg.slLateTOF1ns / 5.0);
    if (!e5 || !l5) return false;
    const bool earlyOutside = *e5 < start || *e5 > end;
    const bool lateOutside = *l5 < start || *l5 > end;
    if (earlyOutside && lateOutside && !(*e5<start&& * l5> end)) return true;

    double ae = seg.ulEarlyCorrAmp0_1PSH * seg.llGainRatio / 25000.0;
    double al = seg.ulLateCorrAmp0_1PSH * seg.llGainRatio / 25000.0;
    if (!std::isfinite(ae) || !std::isfinite(al)) return false;
    if (ae > kFullScreen && al > kFullScreen) return true; // wholly above the screen

    std::int64_t early = seg.slEarlyTOF1ns;
    std::int64_t late = seg.slLateTOF1ns;
    const auto slope = divide((al - ae) * 10000.0, static_cast<double>(late - early));
    if (!slope) return false;

    if (*e5 < start) {
        ae += (5.0 * start - static_cast<double>(early)) * *slope / 10000.0;
        early = 5 * static_cast<std::int64_t>(seg.slDispStartTime5ns);
    }
    if (*l5 > end) {
        al = (5.0 * end - static_cast<double>(early)) * *slope / 10000.0 + ae;
        const auto end5 = roundToLong(end);
        if (!end5) return false;
        late = 5 * static_cast<std::int64_t>(*end5);
    }
    if (!std::isfinite(ae) || !std::isfinite(al)) return false;

    // Where a piece rises through full screen height it starts or ends at the crossing.
    const auto crossing = [&](std::int64_t& time) -> bool {
        const auto inverse = divide(static_cast<double>(late - early) * 10000.0, al - ae);
        const auto whole = roundToLong(ae);
        if (!inverse || !whole) return false;
        const auto t = roundToLong((kFullScreen - *whole) * *inverse / 10000.0 + static_cast<double>(early));
        if (!t) return false;
        time = *t;
        return true;
    };
    if (ae > kFullScreen) {
        if (!crossing(early)) return false;
        ae = kFullScreen;
    }
    if (al > kFullScreen) {
        if (!crossing(late)) return false;
        al = kFullScreen;
    }
    const auto earlyLong = toLong(early);
    const auto lateLong = toLong(late);
    if (!earlyLong || !lateLong) return false;
    seg.slEarlyTOF1ns = *earlyLong;
    seg.slLateTOF1ns = *lateLong;

    const double h = m_surface.scaleHeight();
    const auto w = roundToLong(m_surface.scaleWidth());
    if (!w) return false;
    DisplayWindow window{seg.slDispStartTime5ns, seg.ulDispRangeTime5ns, seg.slDispEndTime5ns};
    const double ye = h - ae / kFullScreen * h;
    const double yl = h - al / kFullScreen * h;
    const double xe = window.x(static_cast<double>(early), *w);
    const double xl = window.x(static_cast<double>(late), *w);
    if (!std::isfinite(xe) || !std::isfinite(xl)) return false;
    for (std::int32_t i = 0; i < seg.ucLineThickness; ++i)
        m_surface.segment(xe, ye + i, xl, yl + i, seg.Color);

    if (seg.ptrulFirstOnScreenCapture == 0.0) {
        seg.ptrulFirstOnScreenCapture = 1.0;
        seg.ptrulCapturedEarlyAmp0_25pcntSH = ae;
        seg.ptrusEarlyXPixelForLabel = xe;
        seg.ptrusEarlyYPixelForLabel = ye;
    }
    m_state.dacLabelCapture = {seg.ptrulFirstOnScreenCapture, seg.ptrulCapturedEarlyAmp0_25pcntSH,
                               seg.ptrusEarlyXPixelForLabel, seg.ptrusEarlyYPixelForLabel};
    return true;
}

bool EvaluationCurveDrawer::drawStraightDac(std::int32_t offset, std::int32_t thickness,
                                            const std::string& label) {
    if (!dacCurveDrawn(true)) return true;
    const std::int32_t n = m_props.ulNumOfStoredPoints;
    if (n < 0 || n > kMaxPoints) return false;

    const auto fd = filterDelayNs(m_props.FilterSetup);
    if (!fd) return false;
    const auto window =
        displayWindow(m_props.ttDisplayDelay, m_props.ProbeDelay, m_props.ttDisplayRange, m_props.ttVelocity);
    if (!window) return false;
    std::int32_t pb1 = 0;
    std::int32_t pb2 = 0;
    if (!gateBColumns(pb1, pb2)) return false;
    const double w = m_surface.scaleWidth();
    // Time in ns of the left edge of column p, on the instrument's 5 ns grid.
    const auto columnTime = [&](std::int64_t p) -> std::optional<std::int64_t> {
        const auto t5 =
            roundToLong(static_cast<double>(p) * window->ulDispRangeTime5ns / w + window->slDispStartTime5ns);
        if (!t5) return std::nullopt;
        return 5 * static_cast<std::int64_t>(*t5);
    };
    const auto bs = columnTime(std::int64_t{pb1} + 1);
    const auto be = columnTime(std::int64_t{pb2} + 1);
    const auto bsBefore = columnTime(pb1);
    const auto beBefore = columnTime(pb2);
    if (!bs || !be || !bsBefore || !beBefore) return false;
    // Gate B's times, each handed to the pieces that start or end there and
    // shifted by their clipping for the pieces that follow.
    auto gateStart = toLong(*bs);
    auto gateEnd = toLong(*be);
    auto gateStartBefore = toLong(*bsBefore - 1);
    auto gateEndBefore = toLong(*beBefore - 1);
    if (!gateStart || !gateEnd || !gateStartBefore || !gateEndBefore) return false;

    StraightDacSegment seg;
    seg.slDispStartTime5ns = window->slDispStartTime5ns;
    seg.ulDispRangeTime5ns = window->ulDispRangeTime5ns;
    seg.slDispEndTime5ns = window->slDispEndTime5ns;
    seg.ucLineThickness = thickness;
    seg.ptrulFirstOnScreenCapture = 0.0;

    const auto& tof = m_props.ulHardwareTOF_20ns;
    const auto& amp = m_props.ulAmpAtRefGain_01PCT;
    std::optional<double> ratio;
    std::optional<double> ratioB;
    if (n > 0) {
        if (!m_props.ulFinalGain_01dB.has(0)) return false;
        const double refGain = m_props.ulFinalGain_01dB.at(0);
        ratio = gainRatio(m_props.Gain, refGain, offset);
        ratioB = gainRatio(m_props.BWGain, refGain, offset);
        if (!ratio || !ratioB) return false;
    }
    const auto pieceTime = [&](std::int32_t k) -> std::optional<std::int32_t> {
        return toLong(20 * static_cast<std::int64_t>(tof.at(static_cast<std::size_t>(k))) - *fd);
    };

    for (std::int32_t j = 0; j < n; ++j) {
        if (!tof.has(j) || !amp.has(j) || (j > 0 && (!tof.has(j - 1) || !amp.has(j - 1)))) return false;
        std::int32_t te = 0;
        double ae = amp.at(0);
        if (j > 0) {
            const auto t = pieceTime(j - 1);
            if (!t) return false;
            te = *t;
            ae = amp.at(static_cast<std::size_t>(j - 1));
        }
        const auto tl0 = pieceTime(j);
        if (!tl0) return false;
        std::int32_t tl = *tl0;
        const double al = amp.at(static_cast<std::size_t>(j));

        const auto piece = [&](std::int32_t& early, double earlyAmp, std::int32_t& late, double lateAmp,
                               Rgb color, double gain) -> bool {
            seg.slEarlyTOF1ns = early;
            seg.ulEarlyCorrAmp0_1PSH = earlyAmp;
            seg.slLateTOF1ns = late;
            seg.ulLateCorrAmp0_1PSH = lateAmp;
            seg.Color = color;
            seg.llGainRatio = gain;
            if (!drawStraightDacSeg(seg)) return false;
            early = seg.slEarlyTOF1ns;
            late = seg.slLateTOF1ns;
            return true;
        };
        // Amplitude along the piece at time T, from the times as they stand now.
        const auto at = [&](std::int32_t time) -> std::optional<double> {
            const double r0 = std::nearbyint(ae);
            const double r1 = std::nearbyint(al);
            const auto part =
                divide((r1 - r0) * (static_cast<double>(time) - te), static_cast<double>(tl) - te);
            if (!part) return std::nullopt;
            return r0 + *part;
        };

        const bool overlaps = !(*gateStart >= tl || te >= *gateEnd);
        if (m_props.BEA != 1 || !overlaps) {
            if (!piece(te, ae, tl, al, kCurveRed, *ratio)) return false;
            continue;
        }
        const bool startsInside = te >= *gateStart;
        const bool endsInside = *gateEnd >= tl;
        if (startsInside && endsInside) {
            if (!piece(te, ae, tl, al, kCurveBlue, *ratioB)) return false;
        } else if (startsInside) {
            const auto a1 = at(*gateEndBefore);
            if (!a1 || !piece(te, ae, *gateEndBefore, *a1, kCurveBlue, *ratioB)) return false;
            const auto a2 = at(*gateEnd);
            if (!a2 || !piece(*gateEnd, *a2, tl, al, kCurveRed, *ratio)) return false;
        } else if (endsInside) {
            const auto a1 = at(*gateStartBefore);
            if (!a1 || !piece(te, ae, *gateStartBefore, *a1, kCurveRed, *ratio)) return false;
            const auto a2 = at(*gateStart);
            if (!a2 || !piece(*gateStart, *a2, tl, al, kCurveBlue, *ratioB)) return false;
        } else {
            const auto a1 = at(*gateStartBefore);
            if (!a1 || !piece(te, ae, *gateStartBefore, *a1, kCurveRed, *ratio)) return false;
            const auto a2 = at(*gateStart);
            const auto a3 = at(*gateEndBefore);
            if (!a2 || !a3 || !piece(*gateStart, *a2, *gateEndBefore, *a3, kCurveBlue, *ratioB)) return false;
            const auto a4 = at(*gateEnd);
            if (!a4 || !piece(*gateEnd, *a4, tl, al, kCurveRed, *ratio)) return false;
        }
    }

    if (seg.ptrulFirstOnScreenCapture == 1.0 && seg.ptrulCapturedEarlyAmp0_25pcntSH > kLabelMinAmplitude &&
        seg.ptrusEarlyXPixelForLabel < w - kLabelRightMargin)
        writeLabel(seg.ptrusEarlyXPixelForLabel + 10.0, seg.ptrusEarlyYPixelForLabel + 10.0, label);
    return true;
}

} // namespace pelix::ascanview
