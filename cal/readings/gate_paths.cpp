#include "readings/gate_paths.h"

namespace pelix::cal::readings {

int64_t nanoseconds(int64_t ticks) {
    return (5 * ticks + 1) / 2;
}

int64_t soundPath(const Setup& setup, int64_t ticks) {
    // Both factors are bounded (a 23-bit tick count, 32-bit words), so the product fits.
    return (nanoseconds(ticks) - setup.probeDelay_ns) * int64_t{setup.velocity} / 20000;
}

GatePath gatePath(const ReadingsState& state, GateId gate) {
    const Gate& g = state.gate(gate);
    const int64_t offset = gate == GateId::B && state.setup.gateBRelative != 0 ? state.gateA.time : 0;
    if (g.triggered) return {soundPath(state.setup, int64_t{g.time} + offset), true};
    if (g.heldTime != 0) return {soundPath(state.setup, int64_t{g.heldTime} + offset), false};
    return {0, false};
}

std::optional<int64_t> zoneNumber(int64_t path_um, int32_t zoneLengthsVariable,
                                  const std::array<int32_t, kZoneCount>& zoneLengths_um) {
    if (path_um <= 0) return std::nullopt;
    if (zoneLengthsVariable == 0) {
        if (zoneLengths_um[0] == 0) return std::nullopt;
        return (path_um + 1) / zoneLengths_um[0] + 1;
    }
    int64_t reach = 0;
    for (int zone = 0; zone < kZoneCount; ++zone) {
        reach += zoneLengths_um[static_cast<std::size_t>(zone)];
        if (reach >= path_um) return zone + 1;
    }
    return std::nullopt;
}

} // namespace pelix::cal::readings
