// Per-column and per-stretch costs of the curve drawing: the integer logarithm runs once per
// pixel column, the DGS conversion once per stretch of the curve.
#include "cal/dgs/dgs_state.h"
#include <pelix_cal.h>

#include <benchmark/benchmark.h>

#include <array>
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
    pelix::cal::dgs::resetState();
    std::array<int32_t, PELIX_DGS_BLOCK_WORDS> block{};
    block[PELIX_DGS_PROBE_DELAY / 4] = 1000;
    block[PELIX_DGS_VELOCITY / 4] = 59200;
    block[PELIX_DGS_PROBE_NUM / 4] = 25; // the own diagram with 38 columns
    block[PELIX_DGS_ERS / 4] = 2500;
    block[PELIX_DGS_REF_DIST / 4] = 50000;
    block[PELIX_DGS_REF_AMP / 4] = 800;
    block[PELIX_DGS_TEST_ATTEN / 4] = 40;
    std::array<DGSPoint, PELIX_DGS_MAX_POINTS> points{};
    const int32_t columns = CVDGSNumOfERSCurvePoints(block.data(), points.data());
    CVDGSCalculateNearFields(block.data());
    DGSEvaluateReference(block.data());
    int32_t written = 0;
    for (auto _ : state) {
        written = CVDGSConvertDGStoDAC(block.data(), points.data());
        benchmark::DoNotOptimize(points.data());
    }
    state.counters["points"] = written;
    state.counters["curve"] = columns;
}
BENCHMARK(DgsConvertFortyPoints);

} // namespace
