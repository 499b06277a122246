#include "tools/pelix-synth/synth_evaluation.h"

#include <charconv>

namespace pelix::synth {

namespace {

// Offset curves the modes show: -6, -12 and +6 dB around the reference.
constexpr std::array<int32_t, 6> kDacOffsets{0, -60, -120, 60, 0, 0};
// The JIS standard set -12, -6, +6, +12, +18 dB.
constexpr std::array<int32_t, 6> kJisOffsets{0, -120, -60, 60, 120, 180};
// A JIS set that is not the standard one: the curves carry their own labels.
constexpr std::array<int32_t, 6> kJisCustomOffsets{0, -100, -60, 60, 120, 180};
// CN DAC: assessment (RL), sizing (SL) and rejection (EL) lines.
constexpr std::array<int32_t, 6> kCnOffsets{0, -140, -80, 50, 0, 0};

// DGS probes by catalogue type: computed near field, own diagram, listed near field.
constexpr int32_t kProbeGeneral = 3;
constexpr int32_t kProbeOwnDiagram = 25;
constexpr int32_t kProbeListedNearField = 35;

void completeDac(EvaluationSetup& s, int32_t tcgMode, int32_t curveType) {
    s.evalMode = 0;
    s.tcgMode = tcgMode;
    s.dacCurveType = curveType;
    s.tcgCurveStatus = 2;
    s.curveOffsets = kDacOffsets;
}

void dgs(EvaluationSetup& s, int32_t probe) {
    s.evalMode = 1;
    s.dgsMode = 1;
    s.dgsProbeNum = probe;
    s.curveOffsets = kDacOffsets;
}

} // namespace

bool applyEvaluationMode(std::string_view name, EvaluationSetup& s) {
    int32_t number = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (ec == std::errc() && end == name.data() + name.size()) {
        s.evalMode = number;
        s.dgsMode = number == 1 ? 1 : 0;
        s.jisEnable = number == 4 ? 1 : 0;
        return true;
    }
    if (name == "none") {
        s = EvaluationSetup{};
    } else if (name == "dac-straight") {
        completeDac(s, 2, 0);
    } else if (name == "dac-curved") {
        completeDac(s, 2, 1);
    } else if (name == "dac-recording") {
        completeDac(s, 2, 1);
        s.tcgCurveStatus = 1;
    } else if (name == "tcg") {
        completeDac(s, 1, 1);
        s.tcgDisplay = 1;
    } else if (name == "jis" || name == "jis-custom") {
        s.evalMode = 4;
        s.jisEnable = 1;
        s.tcgMode = 0;
        s.dacCurveType = 0;
        s.tcgCurveStatus = 2;
        s.curveOffsets = name == "jis" ? kJisOffsets : kJisCustomOffsets;
    } else if (name == "cn-straight" || name == "cn-curved") {
        s.evalMode = 5;
        s.tcgMode = 0;
        s.tcgCurveStatus = 2;
        s.cnDacRegs = 1 | 4 | (name == "cn-curved" ? 8 : 0);
        s.curveOffsets = kCnOffsets;
    } else if (name == "dgs" || name == "dgs-general") {
        dgs(s, kProbeGeneral);
    } else if (name == "dgs-probe-diagram") {
        dgs(s, kProbeOwnDiagram);
    } else if (name == "dgs-probe-nearfield") {
        dgs(s, kProbeListedNearField);
    } else {
        return false;
    }
    return true;
}

std::optional<int32_t> dgsReferenceType(std::string_view name) {
    if (name == "disc") return 0;
    if (name == "hole") return 2;
    if (name == "backwall") return 1;
    return std::nullopt;
}

bool parseCurveOffsets(std::string_view text, EvaluationSetup& s) {
    std::array<int32_t, 6> offsets{};
    std::size_t k = 1;
    while (!text.empty()) {
        if (k > 5) return false;
        const std::size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        const auto [end, ec] = std::from_chars(item.data(), item.data() + item.size(), offsets[k]);
        if (ec != std::errc() || end != item.data() + item.size()) return false;
        ++k;
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    }
    s.curveOffsets = offsets;
    return true;
}

std::string evaluationModeNames() {
    return "none, dac-straight, dac-curved, dac-recording, tcg, jis, jis-custom, cn-straight, cn-curved,\n"
           "                    dgs-general (or dgs), dgs-probe-diagram, dgs-probe-nearfield, or a number";
}

} // namespace pelix::synth
