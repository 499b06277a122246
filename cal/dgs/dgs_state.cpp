// The module-wide DGS state, the diagram lookups and the curve of one reflector.
#include "dgs/dgs_internal.h"
#include "pelix_cal.h"

#include <array>
#include <cmath>
#include <limits>

namespace pelix::cal::dgs {
namespace {

// Per thread: a program that measures frames on several threads gives each its own state, and a
// program with one thread sees the single module-wide state the instrument keeps.
thread_local State g_state;
thread_local Curve g_ersCurve;
thread_local bool g_nearFieldValid = true;

double interpolateLog(double v0, double v1, double at, double from, double to) {
    return v0 + (v1 - v0) * (std::log10(at) - std::log10(from)) / (std::log10(to) - std::log10(from));
}

void copyRow(const Diagram& diagram, int32_t row, int32_t columns, Curve& curve) {
    curve.key = diagram.keys[row];
    int32_t k = 0;
    // A "no value" entry closes the row; what follows it is not part of the curve.
    while (k < columns && diagram.value(row, k) != kNoValue) {
        curve.distances[k] = diagram.distances[k];
        curve.values[k] = diagram.value(row, k);
        ++k;
    }
    curve.columns = k;
}

} // namespace

State& state() {
    return g_state;
}

void resetState() {
    g_state = State{};
    g_ersCurve = Curve{};
    g_nearFieldValid = true;
}

const Diagram& generalDiagram() {
    return GeneralDGSDiagram;
}

const ProbeCatalogRow* catalogRow(int32_t index) {
    if (index < 0 || index >= kProbeCount) return nullptr;
    return &ProbeCatalog[index];
}

const Diagram& diagramFor(const ProbeCatalogRow& row) {
    if (row.type == kOwnDiagram && row.ownDiagram < static_cast<uint32_t>(kOwnDiagramCount))
        return OwnDGSDiagrams[row.ownDiagram];
    return GeneralDGSDiagram;
}

const ProbeInfo* probe(int32_t index) {
    static const std::array<ProbeInfo, kProbeCount> infos = [] {
        std::array<ProbeInfo, kProbeCount> result{};
        for (int32_t i = 0; i < kProbeCount; ++i) {
            const ProbeCatalogRow& row = ProbeCatalog[i];
            result[i].type = row.type;
            if (row.type == kOwnDiagram) {
                result[i].largestReflector_um = row.largestReflector_um;
                result[i].ownDiagram = &diagramFor(row);
            }
        }
        return result;
    }();
    if (index < 0 || index >= kProbeCount) return nullptr;
    return &infos[index];
}

double lookupRow(const Diagram& diagram, int32_t row, double x, bool& clamped) {
    clamped = true;
    const int32_t n = diagram.columns;
    if (n <= 0 || row < 0 || row >= diagram.rows) return 0.0;
    if (!(x >= diagram.distances[0])) return diagram.value(row, 0); // also a distance that is not a number
    if (x > diagram.distances[n - 1]) return diagram.value(row, n - 1);
    clamped = false;
    for (int32_t i = 0; i + 1 < n; ++i) {
        if (x <= diagram.distances[i + 1])
            return interpolateLog(diagram.value(row, i), diagram.value(row, i + 1), x, diagram.distances[i],
                                  diagram.distances[i + 1]);
    }
    return diagram.value(row, n - 1); // a single column, and x is its distance
}

bool lookupKey(const Diagram& diagram, double x, double y, double& value) {
    if (!(y > 0.0)) return false;
    int32_t i = 1;
    while (i < diagram.rows && !(diagram.keys[i] <= y))
        ++i;
    if (i >= diagram.rows) return false;
    bool clamped0 = false;
    bool clamped1 = false;
    const double v0 = lookupRow(diagram, i - 1, x, clamped0);
    const double v1 = lookupRow(diagram, i, x, clamped1);
    if (clamped0 || clamped1) return false;
    const double k0 = diagram.keys[i - 1];
    const double k1 = diagram.keys[i];
    if (!(k1 > 0.0) || !(k0 > 0.0) || k0 == k1) return false;
    value = interpolateLog(v0, v1, y, k0, k1);
    return std::isfinite(value);
}

void buildCurve(const Diagram& diagram, double key, Curve& curve) {
    curve = Curve{};
    curve.source = &diagram;
    curve.requestedKey = key;
    const int32_t rows = diagram.rows;
    const int32_t columns = diagram.columns < kMaxColumns ? diagram.columns : kMaxColumns;
    if (rows <= 0 || columns <= 0) return;
    if (key == 0.0 || rows < 2) return copyRow(diagram, 0, columns, curve);
    if (key > diagram.keys[1]) return copyRow(diagram, 1, columns, curve);
    if (key < diagram.keys[rows - 1]) return copyRow(diagram, rows - 1, columns, curve);
    int32_t b = 2;
    while (b < rows && !(diagram.keys[b] <= key))
        ++b;
    if (b >= rows) return copyRow(diagram, 1, columns, curve); // a two-row diagram: key is row 1's
    curve.key = key;
    int32_t k = 0;
    for (int32_t j = 0; j < columns; ++j) {
        // A "no value" entry closes a row, as in copyRow: nothing after it belongs to the curve,
        // and every point keeps the distance of its own column.
        if (diagram.value(b - 1, j) == kNoValue || diagram.value(b, j) == kNoValue) break;
        double value = 0.0;
        if (!lookupKey(diagram, diagram.distances[j], key, value)) continue;
        curve.distances[k] = diagram.distances[j];
        curve.values[k] = value;
        ++k;
    }
    curve.columns = k;
}

Curve& ersCurve() {
    return g_ersCurve;
}

void dropErsCurve() {
    g_ersCurve = Curve{};
}

bool ersCurveValue(double x, double& value) {
    if (g_ersCurve.columns <= 0) return false;
    bool clamped = false;
    const double v = lookupRow(g_ersCurve.view(), 0, x, clamped);
    if (clamped) return false;
    value = v;
    return true;
}

bool nearFieldValid() {
    return g_nearFieldValid;
}

bool computeNearField(const int32_t* block, const ProbeCatalogRow* probeRow) {
    auto fail = [] {
        g_state.nearField_mm = 1.0;
        g_state.delayAllowance_mm = 0.0;
        g_nearFieldValid = false;
        dropErsCurve();
        return false;
    };
    if (probeRow == nullptr) return fail();
    const ProbeCatalogRow& row = *probeRow;
    double nearField = 1.0;
    double allowance = 0.0;
    switch (row.type) {
    case kComputedNearField: {
        const int64_t f = word(block, PELIX_DGS_XTAL_FREQ);
        const int64_t d = word(block, PELIX_DGS_EFFE_DIAM);
        const int64_t ct = word(block, PELIX_DGS_VELOCITY);
        const int64_t cd = word(block, PELIX_DGS_DELAY_VEL);
        const int64_t probeDelay = word(block, PELIX_DGS_PROBE_DELAY);
        if (f <= 0 || d <= 0 || ct <= 0 || cd <= 0) return fail();
        int64_t numerator = 0;
        if (__builtin_mul_overflow(f * 10000, d, &numerator) ||
            __builtin_mul_overflow(numerator, d, &numerator))
            return fail();
        const int64_t nearField_um = numerator / (ct * 400000);
        // the near field the delay path would have if it were test material
        const int64_t delayNearField = numerator / (cd * 400000);
        if (nearField_um <= 0 || delayNearField <= 0) return fail();
        int64_t scaled = 0;
        if (__builtin_mul_overflow(probeDelay * cd / 20000, nearField_um, &scaled)) return fail();
        const int64_t allowance_um = scaled / delayNearField;
        nearField = static_cast<double>(nearField_um) * 0.001;
        allowance = static_cast<double>(allowance_um) * 0.001;
        break;
    }
    case kMeasuredNearField:
        if (row.nearField_um <= 0) return fail();
        nearField = row.nearField_um * 0.001;
        allowance = row.delayAllowance_um * 0.001;
        break;
    case kOwnDiagram: // the own diagram is drawn in mm already
        break;
    default:
        return fail();
    }
    g_state.nearField_mm = nearField;
    g_state.delayAllowance_mm = allowance;
    g_nearFieldValid = true;
    return true;
}

} // namespace pelix::cal::dgs
