// Redraw cost with the evaluation curves on a picture of about 1000 x 600
// pixels (15000 x 9000 twips, one curve column per twip): a curved DAC with
// four offset curves, four DGS curves, and the same frame without curves,
// measured in the same run, and the DGS curves with the gain changing before every redraw.
#include "ascanview/interface/oro_ascan_ctl.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace pelix::ascanview;

namespace {

QList<qint16> rectifiedFrame() {
    QList<qint16> points(1601, 0);
    for (int j = 0; j < 800; ++j)
        points[j] =
            static_cast<qint16>(std::lround(70.0 * std::exp(-std::pow((j - 300) / 20.0, 2.0)) + j % 4));
    return points;
}

void setUpFrame(OroAscanCtl& c) {
    c.resize(1000 + 1013, 600 + 39);
    c.setProperty("iAscanRectMode", OroAscanCtl::RECTIFIED);
    c.setProperty("iNumPoints", 800);
    c.setProperty("iPointArray", QVariant::fromValue(rectifiedFrame()));
    c.setProperty("iGridType", OroAscanCtl::EDGE_AND_TICS);
    c.setProperty("fAscanDelay", 0.0);
    c.setProperty("fAscanRange", 110.0);
    c.setProperty("ShowGateA", true);
    c.setProperty("fGateAStart", 20.0);
    c.setProperty("fGateAWidth", 30.0);
    c.setProperty("iGateAThresh", 40);
    c.setProperty("ShowGateB", true);
    c.setProperty("fGateBStart", 60.0);
    c.setProperty("fGateBWidth", 25.0);
    c.setProperty("iGateBThresh", 30);
    // A 45 degree probe on steel showing 100 mm, as the generated recordings do.
    c.setProperty("ttVelocity", 32300.0);
    c.setProperty("ttDisplayRange", 100000.0);
    c.setProperty("ttDisplayDelay", 620);
    c.setProperty("ProbeDelay", 8520);
    c.setProperty("FilterSetup", 2);
    c.setProperty("Gain", 420);
    c.setProperty("EvalMode", 2); // no curves
}

void setCurvedDac(OroAscanCtl& c) {
    c.setProperty("EvalMode", 0);
    c.setProperty("TCGMode", 2);
    c.setProperty("DACCurveType", 1);
    c.setProperty("TCGCurveStatus", 2);
    c.setProperty("ulNumOfStoredPoints", 4);
    c.setProperty("ulHardwareTOF_20ns", QVariant::fromValue(QList<int>{813, 1200, 1587, 1974}));
    c.setProperty("ulAmpAtRefGain_01PCT", QVariant::fromValue(QList<int>{800, 640, 480, 360}));
    c.setProperty("ulRecordedAMP_01PCT", QVariant::fromValue(QList<int>{800, 640, 480, 360}));
    c.setProperty("ulRecordedGain_01dB", QVariant::fromValue(QList<int>{420, 420, 420, 420}));
    c.setProperty("ulFinalGain_01dB", QVariant::fromValue(QList<int>{420, 439, 464, 489}));
    c.setProperty("Curve1Offset", -120);
    c.setProperty("Curve2Offset", -60);
    c.setProperty("Curve3Offset", 60);
    c.setProperty("Curve4Offset", 120);
}

void setDgs(OroAscanCtl& c) {
    c.setProperty("EvalMode", 1);
    c.setProperty("DGSMode", 1);
    c.setProperty("DGSProbeNum", 3);
    c.setProperty("DGSRefStatus", 1);
    c.setProperty("DGSCurve", 2000);
    c.setProperty("DGSXtalFreq", 400);
    c.setProperty("DGSEffeDiam", 10000);
    c.setProperty("DGSDelayVel", 27300);
    c.setProperty("DGSRefType", 1);
    c.setProperty("DGSRefDist", 50000);
    c.setProperty("DGSRefAmp", 800);
    c.setProperty("DGSBaseGain", 400);
    c.setProperty("DGSRefGain", 300);
    c.setProperty("ttVelocity", 59200.0);
    c.setProperty("ttDisplayRange", 60000.0);
    c.setProperty("ttDisplayDelay", 340);
    c.setProperty("Curve1Offset", -60);
    c.setProperty("Curve2Offset", -120);
    c.setProperty("Curve3Offset", 60);
}

void run(benchmark::State& state, OroAscanCtl& control) {
    for (auto _ : state)
        control.UpdateAscanGraph();
    state.counters["ops"] = static_cast<double>(control.surface().ops().size());
    state.counters["W"] = control.surface().scaleWidth();
}

void BM_UpdateAscanGraph_NoCurves(benchmark::State& state) {
    OroAscanCtl control;
    setUpFrame(control);
    run(state, control);
}
BENCHMARK(BM_UpdateAscanGraph_NoCurves)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_UpdateAscanGraph_CurvedDacFourOffsets(benchmark::State& state) {
    OroAscanCtl control;
    setUpFrame(control);
    setCurvedDac(control);
    run(state, control);
}
BENCHMARK(BM_UpdateAscanGraph_CurvedDacFourOffsets)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_UpdateAscanGraph_FourDgsCurves(benchmark::State& state) {
    OroAscanCtl control;
    setUpFrame(control);
    setDgs(control);
    run(state, control);
}
BENCHMARK(BM_UpdateAscanGraph_FourDgsCurves)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The same four curves when the gain changes before every redraw: each curve is swept
// afresh (what the first frame after a setup change costs).
void BM_UpdateAscanGraph_FourDgsCurvesGainChanging(benchmark::State& state) {
    OroAscanCtl control;
    setUpFrame(control);
    setDgs(control);
    int gain = 420;
    for (auto _ : state) {
        gain = gain == 420 ? 421 : 420;
        control.setProperty("Gain", gain);
        control.UpdateAscanGraph();
    }
    state.counters["ops"] = static_cast<double>(control.surface().ops().size());
}
BENCHMARK(BM_UpdateAscanGraph_FourDgsCurvesGainChanging)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

} // namespace
