// The A-scan picture's colours, one table: the control draws with them and the
// player's overview draws its gate curves with the same gate colours, so a
// curve reads as the gate it follows on screen. No Qt: a colour is 0xRRGGBB.
#pragma once

#include <cstdint>

namespace pelix::ascanview {

using Rgb = std::uint32_t; // 0xRRGGBB

constexpr Rgb rgb(unsigned r, unsigned g, unsigned b) {
    return (r << 16) | (g << 8) | b;
}

namespace ascan_colors {
constexpr Rgb kGraticule = rgb(180, 180, 180);
constexpr Rgb kEnvelope = rgb(236, 236, 0);
constexpr Rgb kTrace = rgb(0, 0, 0);
constexpr Rgb kGateA = rgb(124, 252, 0);
constexpr Rgb kGateB = rgb(0, 0, 255);
constexpr Rgb kCaret = rgb(255, 0, 0);
} // namespace ascan_colors

} // namespace pelix::ascanview
