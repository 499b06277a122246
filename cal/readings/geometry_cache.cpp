#include "readings/geometry_cache.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "readings/fixed_tables.h"

namespace pelix::cal::readings {

namespace {

using Wide = __int128;

constexpr int32_t kFlatFromAngle_01deg = 890; // steeper beams never meet a pipe wall usefully
constexpr int32_t kHalfTurn_01deg = 1800;

bool fitsInt64(Wide v) {
    return v >= std::numeric_limits<int64_t>::min() && v <= std::numeric_limits<int64_t>::max();
}

// Micrometre square root of a value in thousandths of square micrometres, as the
// instrument takes it: through square millimetres, truncated to whole micrometres.
int64_t scaledRoot(Wide thousandths) {
    if (thousandths < 0) thousandths = 0; // the table sines may overshoot a tangent by a hair
    return static_cast<int64_t>(std::sqrt(static_cast<double>(thousandths) * 0.001) * 1000);
}

GeometryCache invalid() {
    GeometryCache c;
    c.computed = true;
    c.valid = false;
    return c;
}

GeometryCache flatGeometry(const Setup& setup, int64_t s) {
    const int32_t sine = fastSin(setup.prbAngle_01deg);
    const int32_t cosine = fastCos(setup.prbAngle_01deg);
    const int64_t t = setup.trigThk_um;
    if (cosine == 0 || t == 0) return invalid(); // no leg length: the beam never reaches the back wall

    GeometryCache c;
    c.computed = true;
    c.valid = true;
    const Wide projection = (Wide{sine} * s) >> 18;
    const int64_t legLength = t * kSineOne / cosine;
    const int64_t fullLegs = s / legLength;
    Wide depth = ((Wide{cosine} * s) >> 18) - Wide{fullLegs} * t;
    c.leg = fullLegs + 1;
    if (c.leg % 2 == 0) depth = t - depth; // on the way up, depth counts from the back wall
    const Wide reduced = projection - setup.probeXValue_um;
    if (!fitsInt64(projection) || !fitsInt64(depth) || !fitsInt64(reduced)) return invalid();
    c.projection_um = static_cast<int64_t>(projection);
    c.reducedProjection_um = static_cast<int64_t>(reduced);
    c.depth_um = static_cast<int64_t>(depth);
    return c;
}

enum class PipeCase {
    Outside,   // no wall to reflect from
    InnerWall, // the beam reaches the inner wall
    Chord,     // the beam misses the inner wall and crosses to the outer one
};

GeometryCache curvedGeometry(const Setup& setup, int64_t s) {
    const int64_t theta = setup.prbAngle_01deg;
    const int64_t outer = setup.oDiameter_um / 2;
    const int64_t inner = outer - setup.trigThk_um;
    // A negative diameter describes no pipe at all.
    if (inner < 0 || outer <= 0) return invalid();

    PipeCase pipe = PipeCase::InnerWall;
    const int32_t tangentAngle = fastAsin(inner * kSineOne / outer);
    if (theta >= tangentAngle || inner * 1000 / outer < 19 || inner == 0) pipe = PipeCase::Chord;

    const int32_t sine = fastSin(theta);
    const int32_t cosine = fastCos(theta);
    const int64_t outerSine = (outer * sine) >> 18;
    const int64_t outerCosine = (outer * cosine) >> 18;

    int64_t legLength = 0;
    if (pipe == PipeCase::InnerWall) {
        const Wide underRoot = Wide{inner} * inner / 1000 - Wide{outerSine} * outerSine / 1000;
        const double root = std::sqrt(static_cast<double>(std::max<Wide>(underRoot, 0)) * 0.001) * 1000;
        legLength = static_cast<int64_t>(static_cast<double>(outerCosine) - root);
    } else {
        legLength = 2 * outerCosine;
    }
    if (legLength == 0) return invalid();

    GeometryCache c;
    c.computed = true;
    c.valid = true;
    const int64_t fullLegs = s / legLength;
    c.leg = fullLegs + 1;
    const bool evenLeg = c.leg % 2 == 0;
    int64_t inLeg = s - fullLegs * legLength;

    const int64_t halfCircumference = outer * 31416 / 10000;
    int64_t legArc = 0;
    if (pipe == PipeCase::InnerWall) {
        const Wide scaled = Wide{sine} * legLength / inner;
        const int64_t clamped = static_cast<int64_t>(std::clamp<Wide>(scaled, -2 * kSineOne, 2 * kSineOne));
        legArc = int64_t{fastAsin(clamped)} * halfCircumference / kHalfTurn_01deg;
        if (evenLeg) inLeg = legLength - inLeg; // coming back out from the inner wall
    } else {
        const Wide chordArc = (kHalfTurn_01deg - 2 * Wide{theta}) * halfCircumference / kHalfTurn_01deg;
        if (!fitsInt64(chordArc)) return invalid();
        legArc = static_cast<int64_t>(chordArc);
    }

    const Wide distanceSquared = Wide{outer} * outer / 1000 + Wide{inLeg} * inLeg / 1000 -
                                 Wide{2} * outer * inLeg * cosine / (Wide{kSineOne} * 1000);
    const int64_t fromCentre = scaledRoot(distanceSquared);
    c.depth_um = std::max<int64_t>(outer - fromCentre, 0);
    if (fromCentre == 0) return invalid(); // the echo would sit on the pipe's axis

    const double r = static_cast<double>(outer);
    const double d = static_cast<double>(fromCentre);
    const double u = static_cast<double>(inLeg);
    double centralAngle = 0;
    if (pipe == PipeCase::InnerWall)
        centralAngle = std::asin(std::clamp(u * sine / kSineOne / d, -1.0, 1.0));
    else
        centralAngle = std::acos(std::clamp((r * r + d * d - u * u) / (2 * r * d), -1.0, 1.0));
    const auto arc = static_cast<int64_t>(r * centralAngle);

    const Wide projection = pipe == PipeCase::InnerWall && evenLeg ? Wide{fullLegs} * legArc + legArc - arc
                                                                   : Wide{fullLegs} * legArc + arc;
    const Wide reduced = projection - setup.probeXValue_um;
    if (!fitsInt64(projection) || !fitsInt64(reduced)) return invalid();
    c.projection_um = static_cast<int64_t>(projection);
    c.reducedProjection_um = static_cast<int64_t>(reduced);
    // Beyond ten legs or 1.1 times round the pipe the model no longer holds.
    c.valid = c.leg <= 10 && projection <= Wide{outer} * 6911520 / 1000000;
    return c;
}

} // namespace

GeometryCache computeGeometry(const Setup& setup, int64_t soundPath_um) {
    if (setup.oDiameter_um == 0 || setup.prbAngle_01deg >= kFlatFromAngle_01deg)
        return flatGeometry(setup, soundPath_um);
    return curvedGeometry(setup, soundPath_um);
}

} // namespace pelix::cal::readings
