// A gate left where a drag would leave it, given on the command line as
// "START,THRESH", read the same way by every subcommand that takes one
// (`pelix render`, `pelix readings`, `pelix overview`); and the choice of one
// gate, `--gate a|b` (`pelix indications`, `pelix summary`).
#pragma once

#include "core/frame/moved_gates.h"
#include "core/overview/overview_series.h"
#include "tools/pelix/options/option_parser.h"

#include <optional>
#include <string>

namespace pelix::tool {

// "START,THRESH": a finite start and a whole threshold in percent, -100..100.
std::optional<frame::DraggedGate> parseMovedGate(const std::string& text);

struct GateOptions {
    std::optional<frame::DraggedGate> gateA, gateB;
    std::string error; // the usage error, naming the option, when one was refused

    bool any() const { return gateA || gateB; }
};

// --gate-a and --gate-b as given.
GateOptions readGateOptions(const ParsedArgs& parsed);

// The gate `--gate` names ("a" or "b", either case); `fallback` without the option. `error` receives
// the usage error when the option names neither.
std::optional<overview::Gate> readGateChoice(const ParsedArgs& parsed, overview::Gate fallback,
                                             std::string& error);

} // namespace pelix::tool
