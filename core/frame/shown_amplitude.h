// The amplitude a gate's panel row shows after a re-measure, as a whole
// percent: what the overview draws and what an indication search counts, so
// a re-measured series reads the same in the window and on the command line.
#pragma once

#include "core/frame/gate_remeasure.h"
#include "core/frame/panel_row.h"

#include <cstdint>
#include <optional>

namespace pelix::frame {

// `row` is PanelRow::GateAAmplitude or PanelRow::GateBAmplitude; none while that gate is
// hidden or its row shows no number.
std::optional<int32_t> shownAmplitude(const Remeasured& result, PanelRow row);

} // namespace pelix::frame
