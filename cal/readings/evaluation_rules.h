// How an echo is rated against its reference: the gate threshold, the DAC
// reference echo or curve, the JIS or CN curves, or the DGS curve, as the
// recording's evaluation mode selects.
#pragma once

#include <cstdint>

#include "readings/reading_text.h"
#include "readings/readings_state.h"

namespace pelix::cal::readings {

enum class EvaluationRule {
    Threshold,
    SingleReferenceEcho,
    ReferenceCurve,
    Dgs,
    Unusable, // JIS evaluation with curve offsets the JIS curves do not have
};

struct RuleChoice {
    EvaluationRule rule = EvaluationRule::Threshold;
    int32_t shift_01dB = 0; // reference curve only
};

RuleChoice chooseRule(const Setup& setup);

enum class Comparison { Decibel, Percent };

// "dBrA"/"dBrB" and "A%rA"/"A%rB".
Reading referenceReading(ReadingsState& state, GateId gate, Comparison comparison);
// "CLS": the JIS class of the gate A echo.
Reading jisClassReading(const ReadingsState& state);

} // namespace pelix::cal::readings
