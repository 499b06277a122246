// Export of the demo recording to video, headless, at the window's starting
// size, as `pelix export` runs it: show each frame, capture the window, write
// the bitmap, append it to the video. Frames per second is the figure.
#include "player/export/avi_export.h"
#include "player/export/range_export.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void BM_ExportDemoRange(benchmark::State& state) {
    QTemporaryDir dir;
    frmPlayer window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    QApplication::processEvents();
    if (!dir.isValid() || window.openRecording(QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN")) !=
                              pelix::player::OpenResult::Opened) {
        state.SkipWithError("no demo recording");
        return;
    }
    const auto frames = static_cast<int32_t>(state.range(0));
    pelix::player::RangeExportRequest request;
    request.output = dir.filePath(QStringLiteral("demo.avi")).toStdString();
    int32_t from = 1;
    for (auto _ : state) {
        request.from = from;
        request.to = from + frames - 1;
        const auto result = pelix::player::exportRange(window.controls(), window.session(), window.playback(),
                                                       window.aviExport(), request);
        if (result != pelix::player::RangeExportResult::Written) {
            state.SkipWithError("export failed");
            return;
        }
        // Another stretch of the recording each time, so no run repeats the last one's pictures.
        from = from + frames > window.session().FrameCount() - frames ? 1 : from + frames;
    }
    state.SetItemsProcessed(state.iterations() * frames);
    state.counters["frames/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * frames), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ExportDemoRange)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
