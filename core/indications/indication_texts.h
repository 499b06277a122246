// The texts one indication is listed with, written once for `pelix indications`,
// the overview window's list and the inspection report, so the three read alike.
#pragma once

#include "core/indications/gate_readings.h"
#include "core/indications/indication.h"

#include <string>
#include <string_view>
#include <vector>

namespace pelix::indications {

// The drop extent's length in seconds as every list gives it: "0.34".
std::string lengthSecondsText(const DropLength& length);

// A reading's text with a held reading marked by a trailing "*" right after its unit.
std::string markedReadingText(std::string_view valueText, bool held);

// The gate's readings at the peak on one line: "SA 20.80mm  DA 10.00mm  dBrA 3.5dB*"; empty
// when the recording records none of them. `nameGap` goes between a reading's name and its
// value (a page that wraps the line keeps them together with a no-break space).
std::string peakReadingsText(const std::vector<GateReading>& readings, std::string_view nameGap = " ");

} // namespace pelix::indications
