// What a review file costs the open of a recording in the window: the same
// recording opened with no review file, and with a review of 10,000
// bookmarks (each with a note of a typical length) beside it. The SHA-256 runs
// in the background and is not waited for; the close before each open is not timed.
#include "core/review/review_store.h"
#include "player/review/review_session.h"
#include "player/ui/frm_player.h"
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

// Two copies of one recording, the second with its review of `marks` bookmarks.
QString recordingWithReview(int marks) {
    const std::string path =
        pelix::testing::programTempFolder().file("review-open-" + std::to_string(marks) + ".BIN");
    {
        pelix::synth::SynthOptions options;
        options.frames = 10000;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        pelix::synth::RecordingSynth(options).write(out);
    }
    if (marks > 0) {
        pelix::review::ReviewFile review;
        review.recording = *pelix::review::identifyRecording(path).identity;
        for (int64_t f = 1; f <= marks; ++f)
            review.bookmarks.push_back(
                {f, "indication near the root, amplitude above reference, frame " + std::to_string(f),
                 "2026-12-08T12:57:21Z"});
        if (!pelix::review::saveReview(review, path, "").saved) std::abort();
    }
    return QString::fromStdString(path);
}

void BM_OpenRecordingWithReview(benchmark::State& state) {
    const int marks = static_cast<int>(state.range(0));
    const QString path = recordingWithReview(marks);
    frmPlayer window;
    window.setKeepsReviews(true);
    window.openRecording(path); // page cache warm
    std::size_t shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        // Nothing held and no last session: closing writes nothing.
        window.review().close(std::nullopt);
        state.ResumeTiming();
        if (window.openRecording(path) != pelix::player::OpenResult::Opened) {
            state.SkipWithError("the recording was not opened");
            return;
        }
        shown = window.review().bookmarks().size();
    }
    state.counters["bookmarks"] = static_cast<double>(shown);
}
BENCHMARK(BM_OpenRecordingWithReview)->Arg(0)->Arg(10000)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
