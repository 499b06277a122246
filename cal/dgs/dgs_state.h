// Internal interface between the DGS arithmetic and the reading formatting.
// The DGS exports keep one module-wide state (near field, delay allowance,
// reference correction, current ERS curve); the DGS readings read it here
// instead of going through the exports.
#pragma once

#include <cstdint>

namespace pelix::cal::dgs {

// A DGS diagram as the instrument stores it: distance columns and rows of gains
// in dB, one row per reflector key (row 0 is the back wall, key 2147483647).
struct Diagram {
    int32_t columns = 0;               // N, at most 40
    const double* distances = nullptr; // x_1 .. x_N
    int32_t rows = 0;                  // M
    const double* keys = nullptr;      // key of each row
    const double* values = nullptr;    // rows * columns gains in dB; 1000.0 = no value
    double value(int32_t row, int32_t column) const { return values[row * columns + column]; }
};

// One row of the probe catalogue as the readings need it.
struct ProbeInfo {
    int32_t type = 0;                    // 0, 1 or 2
    int32_t largestReflector_um = 0;     // type 1 only
    const Diagram* ownDiagram = nullptr; // type 1 only
};

struct State {
    double nearField_mm = 1.0;           // N
    double delayAllowance_mm = 0.0;      // L_d
    double referenceCorrection_dB = 0.0; // V_ref, 0 until evaluated
    double referenceCurveValue = 0.0;    // G_ref
};

// The module-wide state of the calling thread.
State& state();
// Back to the state of a freshly loaded library (also empties the ERS curve).
void resetState();

const Diagram& generalDiagram();
// nullptr for a probe index outside the catalogue.
const ProbeInfo* probe(int32_t index);

// Lookup A: value of `row` at distance x, linear in log10 distance. `clamped`
// tells whether x lay outside the diagram's distances.
double lookupRow(const Diagram& diagram, int32_t row, double x, bool& clamped);

// Value of the current ERS curve (the single-row diagram built by the last
// CVDGSNumOfERSCurvePoints) at distance x. False when there is no curve or the
// evaluation fails.
bool ersCurveValue(double x, double& value);

} // namespace pelix::cal::dgs
