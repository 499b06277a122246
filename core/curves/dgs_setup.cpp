#include "core/curves/dgs_setup.h"

#include "core/curves/filter_delay.h"

#include <cmath>

namespace pelix::curves {

namespace {

constexpr std::int32_t kProbeRows = 41;

void put(DgsBlock& block, std::size_t byteOffset, std::int32_t value) {
    block[byteOffset / 4] = value;
}

bool fitsLong(double value) {
    return std::isfinite(value) && value >= -2147483648.0 && value <= 2147483647.0;
}

// Nearest whole number, halves to even, as the instrument converts reals; none beyond a long.
std::optional<std::int64_t> nearestLong(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);
    if (!fitsLong(rounded)) return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

} // namespace

std::optional<DgsBlock> dgsBlock(const DgsSettings& s) {
    if (s.DGSProbeNum < 0 || s.DGSProbeNum >= kProbeRows) return std::nullopt;
    if (s.DGSRefAmp <= 0) return std::nullopt;
    const std::optional<std::int64_t> velocity = nearestLong(s.ttVelocity);
    if (!velocity) return std::nullopt;

    DgsBlock block{};
    put(block, PELIX_DGS_PROBE_DELAY, s.ProbeDelay);
    put(block, PELIX_DGS_VELOCITY, static_cast<std::int32_t>(*velocity));
    put(block, PELIX_DGS_REF_STATUS, s.DGSRefStatus);
    put(block, PELIX_DGS_PROBE_NUM, s.DGSProbeNum);
    put(block, PELIX_DGS_NUM_POINTS, s.NumOfDGSDrawPnts);
    put(block, PELIX_DGS_ERS, s.DGSCurve);
    put(block, PELIX_DGS_XTAL_FREQ, s.DGSXtalFreq);
    put(block, PELIX_DGS_EFFE_DIAM, s.DGSEffeDiam);
    put(block, PELIX_DGS_DELAY_VEL, s.DGSDelayVel);
    put(block, PELIX_DGS_REF_TYPE, s.DGSRefType);
    put(block, PELIX_DGS_REF_SIZE, s.DGSRefSize);
    put(block, PELIX_DGS_REF_ATTEN, s.DGSRefAtten);
    put(block, PELIX_DGS_AMPL_CORR, s.DGSAmplCorr);
    put(block, PELIX_DGS_TEST_ATTEN, s.DGSTestAtten);
    put(block, PELIX_DGS_REF_DIST, s.DGSRefDist);
    put(block, PELIX_DGS_REF_AMP, s.DGSRefAmp);
    put(block, PELIX_DGS_BASE_GAIN, s.DGSBaseGain);
    put(block, PELIX_DGS_REF_GAIN, s.DGSRefGain);
    return block;
}

void convertErsCurve(DgsBlock& block, DgsPoints& points, const DgsExports& exports) {
    exports.CVDGSCalculateNearFields(block.data());
    exports.DGSEvaluateReference(block.data());
    exports.CVDGSConvertDGStoDAC(block.data(), points.data());
}

bool sweepConverts(const DgsSettings& s) {
    const std::optional<std::int32_t> filterDelay = filterDelayNs(s.FilterSetup);
    if (!filterDelay) return false;
    const std::optional<std::int64_t> start5 = nearestLong(s.ttDisplayDelay / 5.0);
    if (!start5 || s.ttVelocity == 0.0) return false;
    // The sweep spans 110 % of the display range, in 5 ns steps.
    const double range5 = s.ttDisplayRange * 4000.0 * 1.1 / s.ttVelocity;
    if (!std::isfinite(range5)) return false;
    const std::int64_t first = 5 * *start5 + *filterDelay;
    if (fitsLong(static_cast<double>(first)) && first >= kDgsSweepStartNs) return true;
    // Column times run evenly from the first column's to the last's: a later column reaches the
    // start when the last one does.
    const std::optional<std::int64_t> lastColumn5 = nearestLong(range5);
    if (!lastColumn5) return false;
    const std::int64_t last = 5 * (*lastColumn5 + *start5) + *filterDelay;
    return fitsLong(static_cast<double>(last)) && last >= kDgsSweepStartNs;
}

bool setUpDgsState(const DgsSettings& settings, const DgsExports& exports) {
    if (!exports.complete()) return false;
    std::optional<DgsBlock> block = dgsBlock(settings);
    if (!block) return false;
    DgsPoints points{};
    if (exports.CVDGSNumOfERSCurvePoints(block->data(), points.data()) == 0 || settings.DGSMode != 1)
        return true;
    if (sweepConverts(settings)) convertErsCurve(*block, points, exports);
    return true;
}

} // namespace pelix::curves
