// Opening a 1 GiB recording in the main window: how long the user waits for
// frame 1 (the open returns with the frame on screen), and how long until the
// flag controls can be used. The operator's flags lie spread to the very last
// frame, so the flag index needs a pass over the whole file.
#include "core/recording/record_layout.h"
#include "player/ui/frm_player.h"
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QThread>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int64_t kFlags = 16;

// Written once per run, removed with the program's folder; the frames are
// quiet traces that carry only their flag words.
const QString& flaggedGiB() {
    static const QString path = [] {
        const std::string p = pelix::testing::programTempFolder().file("open-1GiB.BIN");
        constexpr auto kRecord = static_cast<int64_t>(pelix::recording::kFrameRecordBytes);
        const int64_t frames = (int64_t{1} << 30) / kRecord;
        pelix::synth::SynthOptions options;
        options.flagCount = static_cast<int32_t>(kFlags);
        options.flaggedFrames = 0;
        const auto header = pelix::synth::RecordingSynth(options).header();
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
        constexpr int64_t kChunkFrames = 512;
        std::vector<char> chunk(static_cast<std::size_t>(kRecord * kChunkFrames), 0);
        for (int64_t first = 1; first <= frames; first += kChunkFrames) {
            std::fill(chunk.begin(), chunk.end(), 0);
            for (int64_t k = 1; k <= kFlags; ++k) {
                const int64_t flagged = k * frames / kFlags; // the last flag is the last frame
                if (flagged >= first && flagged < first + kChunkFrames)
                    chunk[static_cast<std::size_t>((flagged - first) * kRecord +
                                                   pelix::recording::fh::FrameFlag)] = 1;
            }
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        }
        return QString::fromStdString(p);
    }();
    return path;
}

void BM_OpenGiBFirstFrame(benchmark::State& state) {
    // Not shown: a window drawn off screen for a file waits for its flags by design.
    frmPlayer window;
    const QString& path = flaggedGiB();
    window.openRecording(path); // page cache warm
    double flagsReadyMs = 0;
    int opens = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        clock.start();
        if (window.openRecording(path) != pelix::player::OpenResult::Opened) {
            state.SkipWithError("the recording was not opened");
            return;
        }
        state.PauseTiming();
        // The flag option becomes usable once the index is known.
        while (!window.controls().OptFlag->isEnabled()) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        flagsReadyMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        ++opens;
        state.ResumeTiming();
    }
    // From the open until the flag controls are usable, on average.
    state.counters["FlagsReady_ms"] = opens > 0 ? flagsReadyMs / opens : 0.0;
}
BENCHMARK(BM_OpenGiBFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
