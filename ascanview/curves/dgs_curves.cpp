// The DGS curves: the echo height a disc reflector of the chosen size (ERS)
// would give at each depth, from the calculation library's DGS points, with
// the gain interpolated in the logarithm of time between them.
#include "ascanview/curves/evaluation_curve_drawer.h"

#include "ascanview/render/checked_math.h"
#include "ascanview/render/label_text.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>

namespace pelix::ascanview {

namespace {

constexpr double kFullScreen = 400.0;
constexpr std::int32_t kNotFound = PELIX_DGS_NOT_FOUND;
// The ERS curve is drawn this many units thicker than its offset curves.
constexpr double kErsExtraSpan = 2.0;
constexpr double kLabelFromRight = 510.0;

bool fitsLong(double value) {
    return std::isfinite(value) && value >= -2147483648.0 && value <= 2147483647.0;
}

} // namespace

bool EvaluationCurveDrawer::drawDgsCurves(std::int32_t offset) {
    const auto finish = [&](bool completed) {
        m_surface.setForeground(kLabelDone);
        return completed;
    };
    if (!m_cal.dgsComplete()) return false;
    std::optional<curves::DgsBlock> settingsBlock = curves::dgsBlock(dgsSettings(m_props));
    if (!settingsBlock) return false;
    curves::DgsBlock& block = *settingsBlock;
    curves::DgsPoints points{};

    if (m_cal.CVDGSNumOfERSCurvePoints(block.data(), points.data()) == 0 || m_props.DGSMode != 1)
        return finish(true);

    const auto fd = filterDelayNs(m_props.FilterSetup);
    if (!fd) return false;
    const auto start5 = roundToLong(m_props.ttDisplayDelay / 5.0);
    const auto range5 = divide(m_props.ttDisplayRange * 4000.0 * 1.1, m_props.ttVelocity);
    if (!start5 || !range5) return false;
    const double w = m_surface.scaleWidth();
    const double h = m_surface.scaleHeight();
    if (w == 0.0) return false;
    const double gainShift = static_cast<double>(m_props.Gain) - m_props.DGSBaseGain + offset;

    const auto point = [&](std::int64_t index, DGSPoint& out) {
        if (index < 0 || index >= PELIX_DGS_MAX_POINTS) return false;
        out = points[static_cast<std::size_t>(index)];
        return true;
    };
    const auto log10Of = [&](std::int64_t time) {
        // The library's integer logarithm takes the time as an unsigned word.
        return static_cast<double>(
            static_cast<std::int32_t>(m_cal.INTLOG10LookUp(static_cast<std::uint32_t>(time))));
    };

    bool havePrevious = false;
    double previous = 0.0;
    double lastAmplitude = 0.0;
    // One stroke a column, from the previous column's height to this one's.
    const auto stroke = [&](double x, double y) {
        const double prev = havePrevious ? previous : y;
        const double lo = std::min(prev, y);
        const double hi = std::max(prev, y);
        const double span = hi - lo + 1.0 + (offset == 0 ? kErsExtraSpan : 0.0);
        m_surface.segment(x, lo, x + 1.0, lo + span - 1.0, kCurveRed);
        previous = y;
        havePrevious = true;
    };

    std::int64_t segmentEnd = curves::kDgsSweepStartNs;
    // The first column asks the library for its segment, and the library converts the block once
    // per curve before that. Done here, ahead of the sweep, the calls are the same and in the same
    // order, and the converted block and points are known before the first column.
    bool converted = false;
    const auto convertOnce = [&] {
        if (converted) return;
        curves::convertErsCurve(block, points, m_cal.dgsExports());
        converted = true;
    };
    if (0.0 <= w) {
        const std::int64_t firstTime = 5 * static_cast<std::int64_t>(*start5) + *fd;
        if (fitsLong(static_cast<double>(firstTime)) && firstTime >= segmentEnd) convertOnce();
    }

    // Every redraw of a replay draws the same curve from the same converted block: the heights
    // are taken from the last sweep when everything the sweep reads is as it was then.
    const bool convertedFirst = converted;
    DgsCurveMemo& memo = m_state.dgsCurves.curve(offset);
    const DgsCurveInputs inputs{block, points, *fd, *start5, *range5, w, h, gainShift};
    if (convertedFirst && memo.valid && memo.inputs == inputs) {
        for (std::size_t i = 0; i < memo.heights.size(); ++i)
            stroke(static_cast<double>(i), memo.heights[i]);
        lastAmplitude = memo.lastAmplitude;
        if (!memo.completed) return false;
    } else {
        memo.valid = false;
        memo.heights.clear();
        const bool completed = [&] {
            bool haveSegment = false;
            std::int32_t segmentEarly = 0;
            std::int32_t segmentLate = 0;
            std::int64_t searchedTime = 0;
            bool haveAmplitude = false;
            std::int64_t amplitudeTime = 0;
            std::int32_t amplitudeEarly = 0;
            std::int32_t amplitudeLate = 0;
            double amplitude = 0.0;
            double y = h;
            double earlyGain = 0.0;
            double earlyAmp = 0.0;
            double delta = 0.0;
            double k1 = 0.0;
            double k2 = 0.0;

            for (double x = 0.0; x <= w; x += 1.0) {
                const auto column5 = roundToLong(x * *range5 / w);
                if (!column5) return false;
                const std::int64_t a = 5 * (static_cast<std::int64_t>(*column5) + *start5) + *fd;
                if (!fitsLong(static_cast<double>(a))) return false;

                // The searches answer the same for the same time.
                if (a >= segmentEnd && !(haveSegment && a == searchedTime)) {
                    searchedTime = a;
                    // The segment's end is compared without the filter delay the column time
                    // carries, so the sweep asks again on most columns. With the block unchanged
                    // the library gives the same near field, reference and points every time; it
                    // converts once per curve and only the searches run again.
                    convertOnce();
                    const std::int32_t e = m_cal.CVDGSFindEarlierTOFPoint(static_cast<std::int32_t>(a),
                                                                          block.data(), points.data());
                    const std::int32_t l = m_cal.CVDGSFindLaterTOFPoint(static_cast<std::int32_t>(a),
                                                                        block.data(), points.data());
                    const std::int64_t n = block[PELIX_DGS_NUM_POINTS / 4];

                    // The same pair of points gives the same segment.
                    if (!(haveSegment && e == segmentEarly && l == segmentLate)) {
                        DGSPoint early{};
                        DGSPoint late{};
                        std::int64_t earlyTime = 0;
                        if (e != kNotFound) {
                            if (!point(e, early)) return false;
                            earlyTime = std::int64_t{early.slTOF} - *fd;
                        } else if (l != kNotFound) {
                            // Before the first point the curve lies on the bottom edge.
                            DGSPoint next{};
                            if (!point(l, next)) return false;
                            early = {0, 0, next.slGain};
                            earlyTime = 5 * std::int64_t{*start5};
                        } else {
                            if (!point(n - 2, early)) return false;
                            earlyTime = std::int64_t{early.slTOF} - *fd;
                        }
                        if (!point(l != kNotFound ? l : n - 1, late)) return false;
                        const std::int64_t lateTime = std::int64_t{late.slTOF} - *fd;
                        segmentEnd = lateTime;

                        const double logEarly = log10Of(earlyTime);
                        const double logLate = log10Of(lateTime);
                        earlyGain = early.slGain;
                        earlyAmp = early.slAmp;
                        delta = std::nearbyint(static_cast<double>(late.slGain) - early.slGain);
                        k1 = logLate * earlyGain - late.slGain * logEarly;
                        k2 = logLate - logEarly;
                        if (!fitsLong(k1) || !fitsLong(k2)) return false;
                        haveSegment = true;
                        segmentEarly = e;
                        segmentLate = l;
                    }
                }

                // Several columns share one 5 ns step; the height is worked out once per step.
                if (!(haveAmplitude && a == amplitudeTime && segmentEarly == amplitudeEarly &&
                      segmentLate == amplitudeLate)) {
                    const double logTime = log10Of(a - *fd);
                    const double numerator = logTime * delta + k1;
                    if (!fitsLong(logTime * delta) || !fitsLong(numerator)) return false;
                    const auto step = divide(numerator, k2);
                    if (!step) return false;
                    const double gain = earlyGain - *step + gainShift;
                    amplitude = std::pow(10.0, gain / 200.0) * 10000.0 * earlyAmp / 25000.0;
                    if (!std::isfinite(amplitude)) return false;
                    if (amplitude > kFullScreen) amplitude = kFullScreen;
                    y = h - amplitude / kFullScreen * h;
                    haveAmplitude = true;
                    amplitudeTime = a;
                    amplitudeEarly = segmentEarly;
                    amplitudeLate = segmentLate;
                }

                stroke(x, y);
                memo.heights.push_back(y);
                lastAmplitude = amplitude;
            }
            return true;
        }();
        // Only a sweep whose block was converted before its first column can be replayed: the
        // memory holds what follows from that block.
        if (convertedFirst) {
            memo.inputs = inputs;
            memo.completed = completed;
            memo.lastAmplitude = lastAmplitude;
            memo.valid = true;
        }
        if (!completed) return false;
    }

    if (offset == 0 && havePrevious && previous > 0.0 && m_props.DGSCurve != 0) {
        QString text;
        if (m_props.Unit == 1) {
            text = formatFixedDecimals(m_props.DGSCurve / 25400.0, 3, true) + QLatin1String("in");
        } else if (m_props.Unit == 2) {
            const auto time = divide(m_props.DGSCurve, m_props.ttVelocity);
            if (!time) return false;
            text = formatFixedDecimals(*time * 20.0, 3, true) + QLatin1String("us");
        } else {
            text = formatFixedDecimals(m_props.DGSCurve / 1000.0, 2, true) + QLatin1String("mm");
        }
        const double labelY = lastAmplitude > kFullScreen / 2.0 ? previous + 2.0 : previous - 18.0;
        writeLabel(w - kLabelFromRight, labelY, text.toStdString());
    }
    return finish(true);
}

} // namespace pelix::ascanview
