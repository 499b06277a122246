// The DGS readings of gate A's echo: the equivalent reflector size, and the
// echo against the DGS curve of the reflector size the display draws.
#pragma once

#include "readings/readings_state.h"

namespace pelix::cal::readings {

// Evaluates the block once per setup, at the first request that finds gate A
// triggered; before that, and when it has been evaluated, it does nothing.
void ensureDgsBlock(ReadingsState& state);

} // namespace pelix::cal::readings
