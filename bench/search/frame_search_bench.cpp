// Searching a cached 1 GiB recording against reading it with cat, in the same
// run: the search reads every frame record once, so cat is its floor.
#include "bench/support/large_recording.h"
#include "core/recording/open_recording.h"
#include "core/search/frame_search.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace pelix::recording;
using pelix::search::FrameSearch;
using pelix::search::SearchLimits;

namespace {

const std::string& largeRecording() {
    static const std::string path = pelix::bench::generateLargeRecording("search-1GiB.BIN", 3);
    return path;
}

void BM_CatToDevNull(benchmark::State& state) {
    pelix::bench::catToDevNull(state, largeRecording());
}
BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0): workers (0 = as the window and the tool choose); range(1): the box.
// Box 0 is a typical box round an echo; box 1 spans the whole trace at an
// amplitude hardly any sample reaches, so nearly every byte of every frame is
// looked at.
void BM_SearchLargeRecording(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    pelix::bench::warmCache(path);
    const SearchLimits boxes[] = {{180, 200, 50, 90}, {0, 800, 98.5, 99.5}};
    const SearchLimits box = boxes[state.range(1)];
    OpenOutcome opened = OpenRecording::open(path);
    if (!opened.recording) return state.SkipWithError("open failed");
    long peakAnon = 0;
    std::size_t found = 0;
    for (auto _ : state) {
        FrameSearch search(*opened.recording, box, static_cast<unsigned>(state.range(0)));
        search.run();
        std::vector<int32_t> matches;
        found = search.collect(matches);
        peakAnon = std::max(peakAnon, pelix::bench::rssAnonKiB());
        benchmark::DoNotOptimize(matches.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["matches"] = static_cast<double>(found);
    state.counters["RssAnon_MiB"] = static_cast<double>(peakAnon) / 1024.0;
}
BENCHMARK(BM_SearchLargeRecording)
    ->ArgsProduct({{1, 2, 0}, {0, 1}})
    ->ArgNames({"workers", "box"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
