#include "ascanview/legs/leg_geometry.h"

#include "ascanview/legs/fast_trig.h"
#include "ascanview/legs/sine_table.h"
#include "ascanview/render/checked_math.h"

#include <cmath>

namespace pelix::ascanview {

namespace {

struct PipeRadii {
    std::int32_t outer = 0; // R
    std::int32_t inner = 0; // r
};

std::optional<PipeRadii> pipeRadii(const LegSetup& setup) {
    const auto outer = roundToLong(setup.oDiameter / 2.0);
    if (!outer) return std::nullopt;
    const auto inner = roundToLong(*outer - setup.trigThk);
    if (!inner) return std::nullopt;
    return PipeRadii{*outer, *inner};
}

// Cosine of the probe angle from the table; empty outside 0..90.0 deg.
std::optional<std::int32_t> cosineEntry(std::int32_t angle) {
    if (angle < 0 || angle > kSineTableLast) return std::nullopt;
    return sineTable()[static_cast<std::size_t>(kSineTableLast - angle)];
}

} // namespace

std::optional<std::int16_t> trigCurvatureCase(const LegSetup& setup) {
    const auto radii = pipeRadii(setup);
    if (!radii) return std::nullopt;
    const std::int32_t R = radii->outer;
    const std::int32_t r = radii->inner;
    if (r < 0 || R == 0) return static_cast<std::int16_t>(0);
    const auto scaled = multiplyLong(r, kSineOne);
    if (!scaled) return std::nullopt;
    auto sine = roundToLong(static_cast<double>(*scaled) / R);
    if (!sine) return std::nullopt;
    const auto critical = fastAsin4Q(*sine);
    if (!critical) return std::nullopt;
    const auto q = roundToLong(static_cast<double>(r) * 1000.0 / R);
    if (!q) return std::nullopt;
    const bool meetsInnerWall = (setup.prbAngle < *critical) && (*q > 18) && (r != 0);
    return static_cast<std::int16_t>(meetsInnerWall ? 1 : 2);
}

std::optional<double> trigLegLength(const LegSetup& setup) {
    const std::int32_t angle = setup.prbAngle;
    const auto cosine = cosineEntry(angle);
    if (!cosine) return std::nullopt;
    if (setup.oDiameter == 0) return divide(setup.trigThk * kSineOne, *cosine);

    const auto radii = pipeRadii(setup);
    const auto curvature = trigCurvatureCase(setup);
    if (!radii || !curvature) return std::nullopt;
    const double R = radii->outer;
    const double r = radii->inner;
    const double cosTheta = *cosine / static_cast<double>(kSineOne);
    const double sinTheta = fastSin4Q(angle) / static_cast<double>(kSineOne);
    switch (*curvature) {
    case 1: {
        const double underRoot = r * r - R * R * sinTheta * sinTheta;
        if (underRoot < 0.0) return std::nullopt;
        return R * cosTheta - std::sqrt(underRoot);
    }
    case 2:
        return 2.0 * R * cosTheta;
    default:
        return 0.0;
    }
}

} // namespace pelix::ascanview
