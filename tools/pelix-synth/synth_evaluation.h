// The evaluation setup a generated recording carries: which curve family the
// instrument showed, with its offsets, reference points, register bits and
// DGS probe and reference. A named mode fills in a complete, typical setup.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelix::synth {

struct EvaluationSetup {
    int32_t evalMode = 0; // 0 DAC/TCG, 1 DGS, 4 JIS DAC, 5 CN DAC
    int32_t tcgMode = 0;  // 2 DAC curves, 1 TCG reference lines
    int32_t tcgDisplay = 1;
    int32_t dacCurveType = 1;                                    // 1 curved, else straight
    int32_t tcgCurveStatus = 1;                                  // 1 points being recorded, 2 curve complete
    int32_t points = 4;                                          // reference points recorded (0..16)
    std::array<int32_t, 6> curveOffsets{0, -60, -120, 60, 0, 0}; // entries 1..5 used, 0.1 dB
    int32_t jisEnable = 0;
    int32_t jisBoldLine = 0;
    int32_t cnDacRegs = 0;
    int32_t bea = 0;
    int32_t bwGain = 0; // 0.1 dB
    int32_t filterSetup = 2;
    int32_t dgsMode = 0;
    int32_t dgsProbeNum = 3;
    int32_t dgsRefType = 1;  // 0 disc, 2 side-drilled hole, else back wall
    int32_t dgsRefSize = 0;  // um
    int32_t dgsCurve = 2000; // ERS, um
};

// Fills `setup` for a named mode ("dac-curved", "jis", "dgs-probe-diagram", ...)
// or an evaluation mode number; false for an unknown name.
bool applyEvaluationMode(std::string_view name, EvaluationSetup& setup);
// The reference types "disc", "hole" and "backwall".
std::optional<int32_t> dgsReferenceType(std::string_view name);
// "a,b,c,d,e": up to five curve offsets in 0.1 dB.
bool parseCurveOffsets(std::string_view text, EvaluationSetup& setup);

std::string evaluationModeNames();

} // namespace pelix::synth
