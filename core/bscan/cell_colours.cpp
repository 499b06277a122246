#include "core/bscan/cell_colours.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pelix::bscan {

namespace {

// Nine evenly spaced stops of the widely published viridis map; between them
// the channels run linearly, which keeps the lightness rising throughout.
constexpr std::array<std::array<double, 3>, 9> kStops = {{
    {68, 1, 84},
    {71, 45, 123},
    {59, 82, 139},
    {44, 114, 142},
    {33, 145, 140},
    {40, 174, 128},
    {94, 201, 98},
    {173, 220, 48},
    {253, 231, 37},
}};

} // namespace

uint32_t cellColour(double t) {
    if (!(t > 0.0)) t = 0.0; // NaN too
    t = std::min(t, 1.0);
    const double at = t * static_cast<double>(kStops.size() - 1);
    const auto below = std::min(static_cast<std::size_t>(at), kStops.size() - 2);
    const double f = at - static_cast<double>(below);
    uint32_t colour = 0;
    for (std::size_t ch = 0; ch < 3; ++ch) {
        const double v = kStops[below][ch] + (kStops[below + 1][ch] - kStops[below][ch]) * f;
        colour = (colour << 8) | static_cast<uint32_t>(std::lround(v));
    }
    return colour;
}

} // namespace pelix::bscan
