// The review file's costs that a user waits for: reading a review with 10,000
// bookmarks when a recording opens, and naming a cached 1 GiB recording by its
// SHA-256 against `sha256sum` on the same file in the same run.
#include "bench/support/large_recording.h"
#include "core/review/review_store.h"
#include "tests/support/temp_folder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace pelix::review;

const std::string& largeRecording() {
    static const std::string path = pelix::bench::generateLargeRecording("review-1GiB.BIN", 3);
    return path;
}

// A recording of 10,000 frames with a bookmark on each, notes of a typical length.
struct ManyBookmarks {
    std::string recording;
    RecordingIdentity identity;
    ManyBookmarks() {
        recording = pelix::testing::programTempFolder().file("marks.BIN");
        std::ofstream(recording, std::ios::binary) << std::string(4096, 'r');
        identity = *identifyRecording(recording).identity;
        ReviewFile review;
        review.recording = identity;
        for (int64_t f = 1; f <= 10000; ++f)
            review.bookmarks.push_back(
                {f, "indication near the root, amplitude above reference, frame " + std::to_string(f),
                 "2026-12-08T12:57:21Z"});
        if (!saveReview(review, recording, "").saved) std::abort();
    }
};

void BM_FindReviewWithTenThousandBookmarks(benchmark::State& state) {
    static const ManyBookmarks marks;
    std::size_t found = 0;
    for (auto _ : state) {
        const ReviewLoad load = findReview(marks.recording, marks.identity);
        if (!load.review) return state.SkipWithError(load.reason.c_str());
        found = load.review->bookmarks.size();
    }
    state.counters["bookmarks"] = static_cast<double>(found);
    state.counters["bytes"] =
        static_cast<double>(std::filesystem::file_size(marks.recording + ".review.json"));
}
BENCHMARK(BM_FindReviewWithTenThousandBookmarks)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Sha256sumOfGiB(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    pelix::bench::warmCache(path);
    const std::string command = "sha256sum " + path + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("sha256sum failed");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_Sha256sumOfGiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_IdentifyRecordingOfGiB(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    pelix::bench::warmCache(path);
    for (auto _ : state) {
        const IdentifiedRecording id = identifyRecording(path);
        if (!id.identity) state.SkipWithError(id.error.c_str());
        benchmark::DoNotOptimize(id.identity);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_IdentifyRecordingOfGiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
