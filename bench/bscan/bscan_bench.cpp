// A B-scan of a cached 1 GiB recording against reading it with cat, in the
// same run: the scan reads every frame record once, so cat is its floor.
#include "bench/support/large_recording.h"
#include "core/bscan/bscan_scan.h"
#include "core/recording/open_recording.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>

using namespace pelix::recording;
using pelix::bscan::BscanRequest;
using pelix::bscan::scanBscan;

namespace {

const std::string& largeRecording() {
    static const std::string path = pelix::bench::generateLargeRecording("bscan-1GiB.BIN", 3);
    return path;
}

void BM_CatToDevNull(benchmark::State& state) {
    pelix::bench::catToDevNull(state, largeRecording());
}
BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0): workers (0 = as the window and the tool choose); range(1): the
// grid, the picture's default 1000 x 400 or the largest, 20000 x 800.
void BM_BscanLargeRecording(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    pelix::bench::warmCache(path);
    const BscanRequest grids[] = {{1, 0, 1000, 400}, {1, 0, 20000, 800}};
    OpenOutcome opened = OpenRecording::open(path, OpenRecording::FlagScan::Skip);
    if (!opened.recording) return state.SkipWithError("open failed");
    long peakAnon = 0;
    for (auto _ : state) {
        const auto result = scanBscan(*opened.recording, grids[state.range(1)], nullptr, nullptr,
                                      static_cast<unsigned>(state.range(0)));
        peakAnon = std::max(peakAnon, pelix::bench::rssAnonKiB());
        benchmark::DoNotOptimize(result.grid.cell(0, 0));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["RssAnon_MiB"] = static_cast<double>(peakAnon) / 1024.0;
}
BENCHMARK(BM_BscanLargeRecording)
    ->ArgsProduct({{1, 2, 0}, {0, 1}})
    ->ArgNames({"workers", "grid"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
