// Redraw cost of the A-scan control for the heaviest frame the player sends:
// an RF trace of 1600 points with its envelope, rasterised.
#include "ascanview/interface/oro_ascan_ctl.h"

#include <benchmark/benchmark.h>

#include <cmath>

using namespace pelix::ascanview;

namespace {

QList<qint16> rfFrame(int seed) {
    QList<qint16> points(3201, 0);
    for (int half = 0; half < 2; ++half) {
        for (int j = 0; j < 800; ++j) {
            const double echo = 80.0 * std::exp(-std::pow((j - 300 - seed % 50) / 25.0, 2.0)) +
                                45.0 * std::exp(-std::pow((j - 560) / 18.0, 2.0));
            const double noise = ((j * 7919 + seed * 31 + half * 17) % 5);
            const auto live = static_cast<qint16>(std::lround(echo * std::abs(std::sin(j * 0.7)) + noise));
            points[half * 800 + j] = live;
            points[1600 + half * 800 + j] = static_cast<qint16>(std::lround(echo + noise));
        }
    }
    return points;
}

// A control whose picture is about 1000 x 600 pixels.
void setUpControl(OroAscanCtl& control, OroAscanCtl::RectType mode, int points) {
    control.resize(2013, 639);
    control.setProperty("iAscanRectMode", mode);
    control.setProperty("iNumPoints", points);
    control.setProperty("Envelope", 1);
    control.setProperty("iGridType", OroAscanCtl::EDGE_AND_TICS);
    control.setProperty("fAscanDelay", 0.0);
    control.setProperty("fAscanRange", 110.0);
    control.setProperty("ShowGateA", true);
    control.setProperty("fGateAStart", 20.0);
    control.setProperty("fGateAWidth", 30.0);
    control.setProperty("iGateAThresh", 40);
    control.setProperty("ShowGateB", true);
    control.setProperty("fGateBStart", 60.0);
    control.setProperty("fGateBWidth", 25.0);
    control.setProperty("iGateBThresh", 30);
    control.setProperty("DrawCaratOne", true);
    control.setProperty("fCaretOne", 33.0);
    control.setProperty("msAscanStartLabel", QStringLiteral("0.00"));
    control.setProperty("msAscanStartWidth", QStringLiteral("110.00"));
}

void BM_UpdateAscanGraph_Rf1600Envelope(benchmark::State& state) {
    OroAscanCtl control;
    setUpControl(control, OroAscanCtl::RF, 1600);
    control.setProperty("iPointArray", QVariant::fromValue(rfFrame(0)));
    for (auto _ : state)
        control.UpdateAscanGraph();
    state.counters["ops"] = static_cast<double>(control.surface().ops().size());
    state.counters["px"] = control.surfaceImage().width() * 1000.0 + control.surfaceImage().height();
}
BENCHMARK(BM_UpdateAscanGraph_Rf1600Envelope)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_UpdateAscanGraph_Rectified800Envelope(benchmark::State& state) {
    OroAscanCtl control;
    setUpControl(control, OroAscanCtl::RECTIFIED, 800);
    control.setProperty("iPointArray", QVariant::fromValue(rfFrame(1)));
    for (auto _ : state)
        control.UpdateAscanGraph();
}
BENCHMARK(BM_UpdateAscanGraph_Rectified800Envelope)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

// The host hands over a new frame before every redraw.
void BM_FrameHandOverAndRedraw(benchmark::State& state) {
    OroAscanCtl control;
    setUpControl(control, OroAscanCtl::RF, 1600);
    const QVariant frames[2] = {QVariant::fromValue(rfFrame(0)), QVariant::fromValue(rfFrame(25))};
    int n = 0;
    for (auto _ : state) {
        control.setProperty("iPointArray", frames[n++ & 1]);
        control.UpdateAscanGraph();
    }
}
BENCHMARK(BM_FrameHandOverAndRedraw)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
