// The receiver filter's delay: the echo reaches the sampler this long after it
// reaches the probe, so every time the curves compare with a sample time has
// it added.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace pelix::curves {

// Delay entries D of the ten receiver filters; the delay is 5 D + 60 ns.
inline constexpr std::array<std::int32_t, 10> FilterDelayTable{64, 64, 64, 64, 64, 40, 64, 64, 64, 64};

// Table entry of the filter in bits 0-3 of FilterSetup; none for 10..15.
inline std::optional<std::int32_t> filterDelayEntry(std::int32_t filterSetup) {
    const std::int32_t index = filterSetup & 15;
    if (index >= static_cast<std::int32_t>(FilterDelayTable.size())) return std::nullopt;
    return FilterDelayTable[static_cast<std::size_t>(index)];
}

// The filter delay in ns (380, or 260 for filter 5).
inline std::optional<std::int32_t> filterDelayNs(std::int32_t filterSetup) {
    const auto entry = filterDelayEntry(filterSetup);
    if (!entry) return std::nullopt;
    return 5 * *entry + 60;
}

} // namespace pelix::curves
