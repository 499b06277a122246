// Searching a cached 1 GiB recording against reading it with cat, in the same
// run: the search reads every frame record once, so cat is its floor.
#include "core/recording/open_recording.h"
#include "core/search/frame_search.h"
#include "tests/support/temp_folder.h"

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

// A 1 GiB full-wave recording with real traces, made once by the generator.
const std::string& largeRecording() {
    static const std::string path = [] {
        // Made in the program's private folder, which goes when the benchmark ends.
        const std::string p = pelix::testing::programTempFolder().file("search-1GiB.BIN");
        constexpr auto kRecord = static_cast<int64_t>(pelix::recording::kFrameRecordBytes);
        const int64_t frames = (int64_t{1} << 30) / kRecord;
        const std::string command = std::string(PELIX_BIN_DIR) + "/pelix-synth -o " + p +
                                    " --rect 3 --frames " + std::to_string(frames) + " > /dev/null";
        if (std::system(command.c_str()) != 0) return std::string();
        return p;
    }();
    return path;
}

long rssAnonKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0) return std::stol(line.substr(8));
    return -1;
}

void warmCache(const std::string& path) {
    const std::string command = "cat " + path + " > /dev/null";
    if (std::system(command.c_str()) != 0) std::abort();
}

void BM_CatToDevNull(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    warmCache(path);
    const std::string command = "cat " + path + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_CatToDevNull)->Unit(benchmark::kMillisecond)->UseRealTime();

// range(0): workers (0 = as the window and the tool choose); range(1): the box.
// Box 0 is a typical box round an echo; box 1 spans the whole trace at an
// amplitude hardly any sample reaches, so nearly every byte of every frame is
// looked at.
void BM_SearchLargeRecording(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    warmCache(path);
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
        peakAnon = std::max(peakAnon, rssAnonKiB());
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
