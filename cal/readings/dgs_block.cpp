#include "readings/dgs_block.h"

#include <cmath>
#include <limits>

#include "dgs/dgs_state.h"
#include "readings/gate_paths.h"

namespace pelix::cal::readings {

namespace {

constexpr int32_t kNoRow = 255;

bool truncates(double value, int32_t& out) {
    if (!std::isfinite(value)) return false;
    const double whole = std::trunc(value);
    if (whole < std::numeric_limits<int32_t>::min() || whole > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(whole);
    return true;
}

void evaluate(ReadingsState& state) {
    DgsResults& block = state.dgs;
    const Setup& setup = state.setup;

    const dgs::ProbeInfo* probe = dgs::probe(setup.dgsProbeNum);
    if (probe == nullptr) return;
    const bool ownDiagram = probe->type == 1;
    if (ownDiagram && probe->ownDiagram == nullptr) return;
    const dgs::Diagram& diagram = ownDiagram ? *probe->ownDiagram : dgs::generalDiagram();
    // Keys of the probe's own diagram are diameters; those of the general one are
    // relative to the transducer.
    const int32_t size_um = ownDiagram ? probe->largestReflector_um : setup.dgsEffeDiam_um;

    const dgs::State& curves = dgs::state();
    const double s = static_cast<double>(gatePath(state, GateId::A).path_um) * 0.001;
    const double x = (curves.delayAllowance_mm + s) / curves.nearField_mm;
    if (!std::isfinite(x)) return;

    double curveGain = 0;
    if (!dgs::ersCurveValue(x, curveGain)) return;

    const double attenuation = s * setup.dgsTestAtten * 0.0002;
    const double echoLevel = 20 * std::log10(state.gateA.amp01 * 0.00125); // against 80 % of the screen
    const double echoGain =
        setup.dgsBaseGain_01dB * 0.1 - (curves.referenceCorrection_dB + attenuation + echoLevel);

    int32_t row = kNoRow;
    double below = 0;
    double above = 0;
    bool clamped = false;
    for (int32_t i = 0; i < diagram.rows; ++i) {
        const double value = dgs::lookupRow(diagram, i, x, clamped);
        if (value > echoGain) {
            row = i;
            above = value;
            break;
        }
        below = value;
    }

    double ers_mm = 0;
    if (row == 0) {
        ers_mm = size_um * 0.001;
    } else if (row != kNoRow) {
        const double upperKey = diagram.keys[row - 1];
        const double lowerKey = diagram.keys[row];
        ers_mm = upperKey + (echoGain - below) * (lowerKey - upperKey) / (above - below);
        if (!ownDiagram) ers_mm *= setup.dgsEffeDiam_um * 0.001;
    }
    const double ers_um = ers_mm * 1000;
    // Only a size below the largest the diagram knows is a finding.
    int32_t whole_um = 0;
    if (truncates(ers_um, whole_um)) {
        block.ers_um = whole_um;
        block.ersValid = whole_um != 0 && whole_um < size_um;
    }

    const double toCurve =
        setup.dgsBaseGain_01dB * 0.1 - (curves.referenceCorrection_dB + attenuation + echoLevel + curveGain);
    block.percentValid = truncates(std::pow(10.0, -0.05 * toCurve) * 1000, block.percent_01pct);
    block.decibelValid = truncates(-10 * toCurve, block.decibel_01dB);
}

} // namespace

void ensureDgsBlock(ReadingsState& state) {
    if (state.dgs.computed || !state.gateA.triggered) return;
    state.dgs = DgsResults{};
    state.dgs.computed = true;
    if (state.setup.dgsMode != 1) return;
    evaluate(state);
}

} // namespace pelix::cal::readings
