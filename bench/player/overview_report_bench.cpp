// The overview of a 1 GiB recording (the series in the process, and
// `pelix overview --json > /dev/null` as a user runs it) and inspection
// reports of 20 and 40 pages. The recording is made once, in a private folder that
// goes when the program ends.
#include "core/overview/overview_series.h"
#include "core/recording/open_recording.h"
#include "core/review/review_json.h"
#include "core/review/review_store.h"
#include "player/report/inspection_report.h"
#include "tools/pelix-synth/recording_synth.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

QTemporaryDir& benchFolder() {
    static QTemporaryDir dir;
    return dir;
}

const std::string& gibRecording() {
    static const std::string path = [] {
        const std::string p = benchFolder().filePath(QStringLiteral("OVERVIEW_1GiB.BIN")).toStdString();
        pelix::synth::SynthOptions options;
        options.frames = static_cast<int32_t>((int64_t{1} << 30) / 2048);
        options.flaggedFrames = 20;
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        pelix::synth::RecordingSynth(options).write(out);
        return p;
    }();
    return path;
}

void BM_OverviewSeries1GiB(benchmark::State& state) {
    const auto opened = pelix::recording::OpenRecording::open(gibRecording());
    if (!opened.recording) {
        state.SkipWithError("cannot open the recording");
        return;
    }
    const auto layout = pelix::recording::frameRecordLayout(*opened.recording);
    int32_t frames = 0;
    for (auto _ : state) {
        const pelix::overview::OverviewSeries s =
            pelix::overview::scanOverview(opened.recording->file(), layout);
        frames = s.frameCount();
        benchmark::DoNotOptimize(s.flags().data());
    }
    state.counters["Frames"] = frames;
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(gibRecording())));
}
BENCHMARK(BM_OverviewSeries1GiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_OverviewJsonTool1GiB(benchmark::State& state) {
    const std::string tool = PELIX_BIN_DIR "/pelix";
    if (!std::filesystem::exists(tool)) {
        state.SkipWithError("build the pelix target first");
        return;
    }
    const std::string command = tool + " overview " + gibRecording() + " --json > /dev/null";
    if (std::system(command.c_str()) != 0) { // also warms the page cache
        state.SkipWithError("pelix overview failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["PeakRss_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_OverviewJsonTool1GiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void writeReports(benchmark::State& state, const pelix::report::ReportRequest& request) {
    for (auto _ : state) {
        const pelix::report::ReportOutcome outcome = pelix::report::writeInspectionReport(request);
        if (outcome.status != pelix::report::ReportStatus::Written) {
            state.SkipWithError("the report was not written");
            return;
        }
        state.counters["Pages"] = outcome.pages;
    }
}

void BM_Report20Pages(benchmark::State& state) {
    pelix::report::ReportRequest request;
    request.recording = QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN");
    request.output = benchFolder().filePath(QStringLiteral("REPORT.pdf")).toStdString();
    for (int32_t f = 1; f <= 19; ++f)
        request.frames.push_back(f * 150);
    writeReports(state, request);
}
BENCHMARK(BM_Report20Pages)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Forty pages as a reviewer makes them: the evidence pages (SHA-256, indications, bookmarks
// from the review file) and a page for each bookmarked frame, the recording hashed each time.
void BM_Report40PagesWithReview(benchmark::State& state) {
    const std::string recording = benchFolder().filePath(QStringLiteral("REVIEWED.BIN")).toStdString();
    {
        pelix::synth::SynthOptions options;
        options.frames = 6000;
        options.flaggedFrames = 200;
        std::ofstream out(recording, std::ios::binary | std::ios::trunc);
        pelix::synth::RecordingSynth(options).write(out);
    }
    const auto id = pelix::review::identifyRecording(recording);
    if (!id.identity) {
        state.SkipWithError("cannot hash the recording");
        return;
    }
    pelix::review::ReviewFile review;
    review.recording = *id.identity;
    review.inspection.PartId = "W-17";
    for (int32_t k = 0; k < 37; ++k)
        review.bookmarks.push_back({1 + k * 160, "bookmark " + std::to_string(k) + " by the bench", ""});
    std::ofstream(pelix::review::reviewPathBeside(recording), std::ios::binary)
        << pelix::review::reviewJson(review);

    pelix::report::ReportRequest request;
    request.recording = QString::fromStdString(recording);
    request.output = benchFolder().filePath(QStringLiteral("REPORT40.pdf")).toStdString();
    request.choice = pelix::report::FrameChoice::Bookmarks;
    writeReports(state, request);
}
BENCHMARK(BM_Report40PagesWithReview)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
