#include "player/playback/speed_table.h"

#include <array>

namespace pelix::player {

namespace {
constexpr std::array<PlaybackSpeed, kSpeedPositions> kTenPerSecond{
    {{500, 2}, {200, 5}, {100, 10}, {50, 20}, {20, 50}}};
constexpr std::array<PlaybackSpeed, kSpeedPositions> kFiftyPerSecond{
    {{100, 10}, {40, 25}, {20, 50}, {10, 100}, {4, 250}}};
} // namespace

std::optional<PlaybackSpeed> speedAt(int position, int32_t RateSelect) {
    if (position < 0 || position >= kSpeedPositions) return std::nullopt;
    const auto& table = RateSelect != 0 ? kTenPerSecond : kFiftyPerSecond;
    return table[static_cast<std::size_t>(position)];
}

QString speedLabelText(int framesPerSecond) {
    return QStringLiteral("%1 Frms/Sec").arg(framesPerSecond);
}

} // namespace pelix::player
