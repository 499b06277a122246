// One frame on screen, end to end: read and decode the record, hand gates,
// panel, trace and setup to the A-scan control by name, redraw and rasterise.
#include "core/recording/open_recording.h"
#include "platform/component_registry.h"
#include "player/display/frame_display.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <array>
#include <memory>

namespace {

using namespace pelix;

// The control's size in the main window at its starting size (14160 x 6300 twips).
constexpr int kControlWidth = 944, kControlHeight = 420;

struct Bench {
    QWidget window;
    QWidget* control = nullptr;
    std::array<QLabel*, 7> names{}, values{};
    QLineEdit* frameBox = nullptr;
    QLineEdit* timeBox = nullptr;
    std::unique_ptr<recording::OpenRecording> recording;
    std::unique_ptr<player::FrameDisplay> display;

    explicit Bench(const char* sample) {
        control =
            platform::ComponentRegistry::instance().create(QStringLiteral("AscanView.OroAscanCtl"), &window);
        if (!control) return;
        control->setGeometry(8, 8, kControlWidth, kControlHeight);
        player::FrameDisplayTargets t;
        t.ascan = control;
        t.ascanWidget = control;
        t.window = &window;
        for (std::size_t i = 0; i < 7; ++i) {
            t.lblRdName[i] = names[i] = new QLabel(&window);
            t.lblRdValue[i] = values[i] = new QLabel(&window);
        }
        t.txtFrameIdx = frameBox = new QLineEdit(&window);
        t.txtTimeIdx = timeBox = new QLineEdit(&window);
        window.resize(960, 780);
        window.setAttribute(Qt::WA_DontShowOnScreen);
        window.show();
        QApplication::processEvents();
        recording = recording::OpenRecording::open(std::string(PELIX_SAMPLES_DIR) + "/" + sample).recording;
        if (!recording) return;
        display = std::make_unique<player::FrameDisplay>(t);
        display->setRecording(recording.get());
        display->refreshUnitRows();
    }
};

void showFrames(benchmark::State& state, const char* sample) {
    Bench bench(sample);
    if (!bench.display) {
        state.SkipWithError("no control or no sample recording");
        return;
    }
    const int32_t frames = bench.recording->FrameCount();
    int32_t n = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench.display->ShowFrame(n));
        n = n % frames + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

// RF: 1600 points per frame, inch recording.
void BM_ShowFrame_RF1600(benchmark::State& state) {
    showFrames(state, "RF_INCH_V7.BIN");
}
// Full-wave rectified: 800 points, with leg colouring and DAC curves.
void BM_ShowFrame_Fullwave800(benchmark::State& state) {
    showFrames(state, "PLAIN_SCAN.BIN");
}
// Envelope: two records per frame, 3201 points handed over.
void BM_ShowFrame_Envelope(benchmark::State& state) {
    showFrames(state, "ENVELOPE_US.BIN");
}

BENCHMARK(BM_ShowFrame_RF1600)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ShowFrame_Fullwave800)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();
BENCHMARK(BM_ShowFrame_Envelope)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly();

} // namespace
