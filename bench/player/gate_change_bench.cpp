// From the release of a dragged gate to the redrawn frame with seven new
// readings: the control's own redraw on release, its MouseUp, the player's
// gate-changed handler (measurement, the calculation library, panel rows,
// carets) and the second redraw, in the real main window.
#include "platform/message_service.h"
#include "platform/track_bar.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

#include <benchmark/benchmark.h>

namespace {

struct GateBench {
    pelix::platform::MessageLog messages; // no modal box can stop the benchmark
    frmPlayer window;
    QWidget* ascan = nullptr;

    explicit GateBench(const char* sample, int32_t frame) {
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        QApplication::processEvents();
        ascan = window.controls().Ascan;
        if (window.openRecording(QStringLiteral(PELIX_SAMPLES_DIR "/") + sample) !=
            pelix::player::OpenResult::Opened)
            ascan = nullptr;
        if (!ascan) return;
        window.controls().Slider->setValue(frame);
    }

    QVariant prop(const char* name) const { return ascan->property(name); }

    // Grabs gate A in the middle of its bar, as a press of the left button would.
    void grabGateA() {
        const double w = prop("WidthX").toDouble(), h = prop("PicCurrentHeight").toDouble();
        const double start = prop("fGateAStart").toDouble() + prop("fGateAWidth").toDouble() / 2;
        const double x = (start - prop("fAscanDelay").toDouble()) / prop("fAscanRange").toDouble() * w;
        const double threshold = prop("iGateAThresh").toDouble();
        const bool rf = prop("iAscanRectMode").toInt() == 1;
        const double y = rf ? h / 2 - threshold / 200.0 * h : h - threshold / 100.0 * h;
        QMetaObject::invokeMethod(ascan, "picAscan_MouseDown", Qt::DirectConnection, Q_ARG(qint16, 1),
                                  Q_ARG(qint16, 0), Q_ARG(float, static_cast<float>(x)),
                                  Q_ARG(float, static_cast<float>(y)));
        QMetaObject::invokeMethod(ascan, "picAscan_MouseMove", Qt::DirectConnection, Q_ARG(qint16, 1),
                                  Q_ARG(qint16, 0), Q_ARG(float, static_cast<float>(x + w / 50)),
                                  Q_ARG(float, static_cast<float>(y - h / 10)));
    }
    void release() {
        QMetaObject::invokeMethod(ascan, "picAscan_MouseUp", Qt::DirectConnection, Q_ARG(qint16, 1),
                                  Q_ARG(qint16, 0), Q_ARG(float, 0.0F), Q_ARG(float, 0.0F));
    }
};

void releaseGate(benchmark::State& state, const char* sample, int32_t frame) {
    GateBench bench(sample, frame);
    if (!bench.ascan) {
        state.SkipWithError("no control or no sample recording");
        return;
    }
    bench.grabGateA();
    const QString before = bench.window.controls().lblRdValue[0]->text();
    bench.release();
    if (bench.window.GateDataArray()[0] == 0.0 && bench.window.GateDataArray()[3] == 0.0) {
        state.SkipWithError("the release did not reach the gate-changed handler");
        return;
    }
    for (auto _ : state)
        bench.release();
    state.SetLabel((before + " -> " + bench.window.controls().lblRdValue[0]->text()).toStdString());
}

// Full-wave, 800 points, DAC curves and leg colouring on the redraws.
void BM_GateRelease_Fullwave800(benchmark::State& state) {
    releaseGate(state, "PLAIN_SCAN.BIN", 120);
}
// RF, 1600 points, inch recording.
void BM_GateRelease_RF1600(benchmark::State& state) {
    releaseGate(state, "RF_INCH_V7.BIN", 7);
}

BENCHMARK(BM_GateRelease_Fullwave800)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_GateRelease_RF1600)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
