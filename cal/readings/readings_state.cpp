#include "readings/readings_state.h"

namespace pelix::cal::readings {

namespace {
// Per thread, like the DGS state: one program thread sees one state, as on the instrument.
thread_local ReadingsState instance;
} // namespace

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
