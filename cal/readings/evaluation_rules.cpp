#include "readings/evaluation_rules.h"

#include <array>
#include <optional>

#include "readings/dac_points.h"
#include "readings/dgs_block.h"
#include "readings/fixed_tables.h"

namespace pelix::cal::readings {

namespace {

using Wide = __int128;

// An echo at or above this height (whole percent) is clipped and is not rated.
constexpr int32_t kClippedPercent = 104;

// Curve offsets of the JIS evaluation, 0.1 dB, entries 1..5.
constexpr std::array<int32_t, 5> kJisCurveOffsets = {-120, -60, 60, 120, 180};

bool jisCurvesInPlace(const Setup& setup) {
    for (std::size_t j = 0; j < kJisCurveOffsets.size(); ++j)
        if (setup.curveOffsets_01dB[j + 1] != kJisCurveOffsets[j]) return false;
    return true;
}

int32_t jisShift(int32_t boldLine) {
    switch (boldLine) {
    case 1:
        return -60;
    case 2:
        return -120;
    default:
        return 0;
    }
}

bool gateOn(const ReadingsState& state, GateId gate) {
    return (gate == GateId::A ? state.frame.gateAOn : state.frame.gateBOn) != 0;
}

Wide gainFactor(Wide level_01dB) {
    const Wide level = level_01dB * 10;
    if (level > 10990 || level < -10990) return 0;
    return antilogRatio(static_cast<int64_t>(level));
}

// The reference amplitude (0.1 %) the DAC points give for the gate's echo.
std::optional<Wide> pointTableReference(const ReadingsState& state, GateId gate, EvaluationRule rule,
                                        int32_t shift_01dB) {
    const Gate& g = state.gate(gate);
    const Setup& setup = state.setup;
    if (!gateOn(state, gate) || !g.triggered || g.amp >= kClippedPercent) return std::nullopt;
    const std::optional<int32_t> delay = filterDelay(setup.filterSetup);
    const DacPoints points(state);
    if (!delay || !points.usable()) return std::nullopt;

    // The receiver filter delays the echo; the points were taken through it.
    const int64_t arrival = int64_t{g.time} + 2 * *delay + 24;
    if (arrival > 8 * points.last().time_20ns) return std::nullopt;

    const DacPoint first = points.point(0);
    const int64_t baseGain = int64_t{setup.dgsBaseGain_01dB} - first.gain_01dB;
    if (rule == EvaluationRule::SingleReferenceEcho) return first.amp_01pct * gainFactor(baseGain) / 10000;

    const int64_t arrival_ns = (5 * arrival + 1) / 2;
    int32_t k = points.count() - 1;
    for (int32_t i = 0; i < points.count(); ++i)
        if (points.point(i).time_20ns * 20 > arrival_ns) {
            k = i - 1;
            break;
        }

    const bool gainSteps = setup.evalMode == 0 && setup.dacCurveType != 0;
    Wide amp = first.amp_01pct;
    Wide step = gainSteps ? 0 : shift_01dB;
    if (k >= 0) {
        const DacPoint p = points.point(k);
        amp = p.amp_01pct;
        // On the last point the echo sits exactly at its time: nothing to interpolate.
        if (k + 1 < points.count()) {
            const DacPoint next = points.point(k + 1);
            const Wide span = 8 * p.time_20ns - 8 * next.time_20ns;
            if (span == 0) return std::nullopt;
            const Wide before = 8 * p.time_20ns - arrival;
            if (gainSteps)
                step = before * (p.gain_01dB - next.gain_01dB) / span;
            else
                amp = p.amp_01pct - before * (p.amp_01pct - next.amp_01pct) / span;
        }
    }
    return gainFactor(step + baseGain) * amp / 10000;
}

Reading noValue(ReadingKind kind) {
    Reading r;
    r.kind = kind;
    r.live = true;
    return r;
}

Reading value(ReadingKind kind, int64_t v) {
    Reading r = noValue(kind);
    r.hasValue = true;
    r.value = v;
    return r;
}

Reading compared(ReadingKind kind, const Gate& g, uint16_t reference, bool percentFromDecibels) {
    const int32_t decibels = decibelRatio(static_cast<uint16_t>(g.amp01), reference);
    if (kind == ReadingKind::Decibel) return value(kind, decibels);
    if (percentFromDecibels) return value(kind, antilogRatio(int64_t{decibels} * 10) / 100);
    if (reference == 0) return noValue(kind);
    return value(kind, int64_t{g.amp01} * 100 / reference);
}

} // namespace

RuleChoice chooseRule(const Setup& setup) {
    switch (setup.evalMode) {
    case 0:
        if (setup.tcgMode == 1) return {EvaluationRule::SingleReferenceEcho, 0};
        if (setup.tcgMode == 2) return {EvaluationRule::ReferenceCurve, 0};
        break;
    case 1:
        if (setup.dgsMode == 1) return {EvaluationRule::Dgs, 0};
        break;
    case 4:
        if (setup.jisEnable != 0) {
            if (!jisCurvesInPlace(setup)) return {EvaluationRule::Unusable, 0};
            return {EvaluationRule::ReferenceCurve, jisShift(setup.jisBoldLine)};
        }
        break;
    case 5:
        if (setup.cnDacRegs == 1) return {EvaluationRule::ReferenceCurve, setup.curveOffsets_01dB[2]};
        break;
    default:
        break;
    }
    return {EvaluationRule::Threshold, 0};
}

Reading referenceReading(ReadingsState& state, GateId gate, Comparison comparison) {
    const ReadingKind kind = comparison == Comparison::Decibel ? ReadingKind::Decibel : ReadingKind::Percent;
    const Gate& g = state.gate(gate);
    const RuleChoice choice = chooseRule(state.setup);

    switch (choice.rule) {
    case EvaluationRule::Unusable:
        return noValue(kind);
    case EvaluationRule::Threshold: {
        if (!gateOn(state, gate) || state.setup.rectification == 0) return noValue(kind);
        if (!g.triggered || g.amp >= kClippedPercent) return noValue(kind);
        const int32_t threshold =
            gate == GateId::A ? state.frame.gateAThreshold_pct : state.frame.gateBThreshold_pct;
        const int64_t reference = (threshold < 0 ? -int64_t{threshold} : int64_t{threshold}) * 10;
        return compared(kind, g, static_cast<uint16_t>(reference), true);
    }
    case EvaluationRule::SingleReferenceEcho:
    case EvaluationRule::ReferenceCurve: {
        const std::optional<Wide> reference =
            pointTableReference(state, gate, choice.rule, choice.shift_01dB);
        if (!reference) return noValue(kind);
        return compared(kind, g, static_cast<uint16_t>(*reference), false);
    }
    case EvaluationRule::Dgs: {
        if (gate != GateId::A) return noValue(kind);
        ensureDgsBlock(state);
        const DgsResults& dgs = state.dgs;
        if (!g.triggered || g.amp >= kClippedPercent) return noValue(kind);
        if (comparison == Comparison::Decibel)
            return dgs.decibelValid ? value(kind, dgs.decibel_01dB) : noValue(kind);
        return dgs.percentValid ? value(kind, dgs.percent_01pct / 10) : noValue(kind);
    }
    }
    return noValue(kind);
}

Reading jisClassReading(const ReadingsState& state) {
    const Setup& setup = state.setup;
    if (setup.evalMode != 4 || setup.jisEnable == 0 || !jisCurvesInPlace(setup))
        return noValue(ReadingKind::Text);
    const std::optional<Wide> reference =
        pointTableReference(state, GateId::A, EvaluationRule::ReferenceCurve, 0);
    if (!reference) return noValue(ReadingKind::Text);

    const int32_t e =
        decibelRatio(static_cast<uint16_t>(state.gateA.amp01), static_cast<uint16_t>(*reference));
    Reading r = value(ReadingKind::Text, e);
    if (e >= 0)
        r.text = "IV";
    else if (e >= -60)
        r.text = "III";
    else if (e >= -120)
        r.text = "II";
    else
        r.text = "I";
    return r;
}

} // namespace pelix::cal::readings
