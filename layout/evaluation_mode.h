// The recording's EvalMode word as the display reads it: which family of
// evaluation curves the picture shows. The display takes the whole word; the
// calculation library takes its low byte (the instrument's own arithmetic), so
// a word with high bytes set would name one family to the readings and another
// to the picture. Everything that tells a person which curves a recording
// shows (the picture, the report, `pelix info`) decodes the word here, and the
// library is handed the code of the family the picture shows
// (`calculationEvaluationMode`), so the readings belong to the curves on screen.
#pragma once

#include <cstdint>

namespace pelix::layout {

enum class EvaluationFamily {
    DacOrTcg, // a DAC family (TCGMode 2) or the TCG reference line
    Dgs,
    JisDac,
    CnDac,
    None,
};

// 0 and every value above 5 (so any positive word with high bytes set, 0x101
// among them) draw the DAC/TCG family; 1 DGS, 4 JIS DAC, 5 CN DAC; 2, 3 and
// negative words draw no evaluation curve.
constexpr EvaluationFamily evaluationFamily(std::int32_t evalMode) {
    if (evalMode == 0 || evalMode > 5) return EvaluationFamily::DacOrTcg;
    switch (evalMode) {
    case 1:
        return EvaluationFamily::Dgs;
    case 4:
        return EvaluationFamily::JisDac;
    case 5:
        return EvaluationFamily::CnDac;
    default:
        return EvaluationFamily::None;
    }
}

// Whether the word is one of the instrument's own codes (0..5), so that naming the
// family says all; any other word is named with its raw value beside the family.
constexpr bool isEvaluationModeCode(std::int32_t evalMode) {
    return evalMode >= 0 && evalMode <= 5;
}

// The EvalMode word handed to the calculation library: one of the instrument's
// own codes as it stands; any other word as the code of the family the display
// draws (0 for the DAC/TCG family, 1 DGS, 4 JIS DAC, 5 CN DAC, 2 for none), since
// the library reads only the low byte, which for such a word names another
// family or none (0x101 would give DGS readings beside DAC curves).
constexpr std::int32_t calculationEvaluationMode(std::int32_t evalMode) {
    if (isEvaluationModeCode(evalMode)) return evalMode;
    switch (evaluationFamily(evalMode)) {
    case EvaluationFamily::DacOrTcg:
        return 0;
    case EvaluationFamily::Dgs:
        return 1;
    case EvaluationFamily::JisDac:
        return 4;
    case EvaluationFamily::CnDac:
        return 5;
    case EvaluationFamily::None:
        break;
    }
    return 2;
}

} // namespace pelix::layout
