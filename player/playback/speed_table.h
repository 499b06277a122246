// The five playback speeds. Position 2 plays at the rate the instrument
// recorded; the others at 0.2, 0.5, 2 and 5 times it.
#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace pelix::player {

struct PlaybackSpeed {
    int intervalMs;      // playback timer interval
    int framesPerSecond; // what the speed label shows
};

inline constexpr int kSpeedPositions = 5;
inline constexpr int kNormalSpeedPosition = 2;

// The speed at a position of the speed selector; nothing outside 0 .. 4.
// `RateSelect` != 0 marks a 10 frames/s recording, 0 a 50 frames/s one.
std::optional<PlaybackSpeed> speedAt(int position, int32_t RateSelect);

// "50 Frms/Sec"
QString speedLabelText(int framesPerSecond);

} // namespace pelix::player
