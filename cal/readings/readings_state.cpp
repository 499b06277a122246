#include "readings/readings_state.h"

namespace pelix::cal::readings {

namespace {
ReadingsState instance;
}

ReadingsState& readingsState() {
    return instance;
}

void resetReadingsState() {
    instance = ReadingsState{};
}

void clearDerivedValues(ReadingsState& state) {
    state.gateA.heldTime = 0;
    state.gateB.heldTime = 0;
    state.heldDifference_ticks = 0;
    state.geometry = {};
    state.dgs = DgsResults{};
    state.zoneLengths_um = {};
}

} // namespace pelix::cal::readings
