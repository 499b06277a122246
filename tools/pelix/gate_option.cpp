#include "tools/pelix/gate_option.h"

#include <cmath>
#include <cstdlib>

namespace pelix::tool {

std::optional<frame::DraggedGate> parseMovedGate(const std::string& text) {
    const auto comma = text.find(',');
    if (comma == std::string::npos) return std::nullopt;
    const std::string startText = text.substr(0, comma);
    char* end = nullptr;
    const float start = std::strtof(startText.c_str(), &end);
    if (startText.empty() || end != startText.c_str() + startText.size() || !std::isfinite(start))
        return std::nullopt;
    const auto threshold = parseWholeNumber(text.substr(comma + 1));
    if (!threshold || *threshold < -100 || *threshold > 100) return std::nullopt;
    return frame::DraggedGate{start, static_cast<int16_t>(*threshold)};
}

GateOptions readGateOptions(const ParsedArgs& parsed) {
    GateOptions out;
    for (const auto& [name, value] : parsed.options) {
        if (name != "--gate-a" && name != "--gate-b") continue;
        const auto gate = parseMovedGate(value);
        if (!gate) {
            out.error = std::string(name) + " takes START,THRESH (a number and a whole percent -100..100)";
            return out;
        }
        (name == "--gate-a" ? out.gateA : out.gateB) = gate;
    }
    return out;
}

std::optional<overview::Gate> readGateChoice(const ParsedArgs& parsed, overview::Gate fallback,
                                             std::string& error) {
    const std::string* gate = parsed.text("--gate");
    if (!gate) return fallback;
    if (*gate == "a" || *gate == "A") return overview::Gate::A;
    if (*gate == "b" || *gate == "B") return overview::Gate::B;
    error = "--gate must be a or b";
    return std::nullopt;
}

} // namespace pelix::tool
