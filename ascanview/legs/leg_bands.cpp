#include "ascanview/legs/leg_bands.h"

#include "ascanview/legs/leg_geometry.h"
#include "ascanview/render/checked_math.h"

#include <algorithm>

namespace pelix::ascanview {

bool legBandsWanted(const LegSetup& setup) {
    if (setup.trigColorLeg != 1) return false;
    if (setup.oDiameter != 0) return setup.prbAngle < 890;
    return setup.prbAngle != 0;
}

std::optional<std::array<std::int32_t, 4>> legEdges(const LegSetup& setup, double surfaceWidth) {
    const auto leg = trigLegLength(setup);
    if (!leg) return std::nullopt;
    // Leg time in 5 ns steps from a length in micrometres and a velocity in 0.1 m/s.
    const auto legTime = divide(*leg * 4000.0, setup.velocity);
    if (!legTime) return std::nullopt;

    // Times count from the instrument's fixed 15 us start offset.
    const double zero = setup.probeDelay + 15000.0;
    std::array<double, 4> edges{};
    edges[0] = zero / 5.0;
    for (std::size_t k = 1; k < edges.size(); ++k)
        edges[k] = edges[k - 1] + *legTime;

    const double micrometresPerUnit = setup.inch ? 25400.0 : 1000.0;
    // The display delay was moved half a display step towards zero when it was
    // recorded; h undoes that.
    const double halfStep = setup.inch ? 0.0005 : 0.005;
    const double d = setup.displayDelay;
    std::optional<double> delayTerm;
    if (d > 0)
        delayTerm = divide((d - halfStep) * micrometresPerUnit * 20000.0, setup.velocity);
    else if (d < 0)
        delayTerm = divide((d + halfStep) * micrometresPerUnit * 20000.0, setup.velocity);
    else
        delayTerm = divide(setup.ttDisplayDelay, setup.velocity);
    if (!delayTerm) return std::nullopt;
    const double start = (setup.probeDelay + *delayTerm + 15000.0) / 5.0;
    const auto span = divide(setup.displayRange * micrometresPerUnit * 4400.0, setup.velocity);
    if (!span || *span == 0.0) return std::nullopt;
    const double end = start + *span;

    const auto width = roundToLong(surfaceWidth);
    if (!width) return std::nullopt;
    std::array<std::int32_t, 4> x{};
    for (std::size_t k = 0; k < edges.size(); ++k) {
        const double clamped = std::clamp(edges[k], std::min(start, end), std::max(start, end));
        const auto edge = roundToLong((clamped - start) * *width / *span);
        if (!edge) return std::nullopt;
        x[k] = *edge;
    }
    return x;
}

} // namespace pelix::ascanview
