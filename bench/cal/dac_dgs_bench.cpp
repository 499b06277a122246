// Per-column and per-stretch costs of the curve drawing: the integer logarithm runs once per
// pixel column, the DGS conversion once per stretch of the curve.
#include "cal/dgs/dgs_internal.h"
#include <pelix_cal.h>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>

namespace {

void IntLog10LookUp(benchmark::State& state) {
    uint32_t value = 1;
    uint32_t sum = 0;
    for (auto _ : state) {
        sum += INTLOG10LookUp(value);
        value = value * 1664525u + 1013904223u; // every decade in turn
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IntLog10LookUp);

void IntLog10LookUpScreenTimes(benchmark::State& state) {
    // the control's arguments: times of flight of a sweep, in ns
    uint32_t sum = 0;
    uint32_t t = 400;
    for (auto _ : state) {
        sum += INTLOG10LookUp(t);
        t = t < 200000 ? t + 97 : 400;
    }
    benchmark::DoNotOptimize(sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(IntLog10LookUpScreenTimes);

void DgsConvertFortyPoints(benchmark::State& state) {
    using namespace pelix::cal::dgs;
    resetState();
    std::array<int32_t, PELIX_DGS_BLOCK_WORDS> block{};
    block[PELIX_DGS_PROBE_DELAY / 4] = 1000;
    block[PELIX_DGS_VELOCITY / 4] = 59200;
    block[PELIX_DGS_PROBE_NUM / 4] = 1;
    block[PELIX_DGS_XTAL_FREQ / 4] = 200;
    block[PELIX_DGS_EFFE_DIAM / 4] = 24000;
    block[PELIX_DGS_DELAY_VEL / 4] = 25000;
    block[PELIX_DGS_ERS / 4] = 2500;
    block[PELIX_DGS_REF_DIST / 4] = 50000;
    block[PELIX_DGS_REF_AMP / 4] = 800;
    block[PELIX_DGS_TEST_ATTEN / 4] = 40;
    CVDGSCalculateNearFields(block.data());
    DGSEvaluateReference(block.data());
    // no diagram of the range has 40 columns: a full-length curve cut from a synthetic one
    std::array<double, 40> distances{};
    std::array<double, 80> values{};
    const std::array<double, 2> keys{1.0, 0.1};
    for (int i = 0; i < 40; ++i) {
        distances[i] = 0.1 * std::pow(1000.0, i / 39.0);
        values[i] = 40 * std::log10(distances[i]) + 20;
        values[40 + i] = values[i] + 40;
    }
    const Diagram diagram{40, distances.data(), 2, keys.data(), values.data()};
    buildCurve(diagram, 1.0, ersCurve());
    std::array<DGSPoint, PELIX_DGS_MAX_POINTS> points{};
    int32_t written = 0;
    for (auto _ : state) {
        written = CVDGSConvertDGStoDAC(block.data(), points.data());
        benchmark::DoNotOptimize(points.data());
    }
    state.counters["points"] = written;
    resetState();
}
BENCHMARK(DgsConvertFortyPoints);

} // namespace
