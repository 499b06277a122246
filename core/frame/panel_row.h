// The rows of the A-scan control's parameter panel that the player fills, by
// what they show. Rows 0 and 15 are never written.
#pragma once

#include <cstddef>

namespace pelix::frame {

inline constexpr std::size_t kPanelRowCount = 16;

enum class PanelRow : int {
    Velocity = 1,
    Gain = 2,
    Rectification = 3,
    Units = 4,
    GateAStart = 5,
    GateAWidth = 6,
    GateAThreshold = 7,
    SoundPathA = 8,
    GateAAmplitude = 9,
    GateBStart = 10,
    GateBWidth = 11,
    GateBThreshold = 12,
    SoundPathB = 13,
    GateBAmplitude = 14,
};

constexpr std::size_t indexOf(PanelRow row) {
    return static_cast<std::size_t>(row);
}

} // namespace pelix::frame
