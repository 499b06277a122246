// `pelix export FILE -o OUT.h5` over a 1 GiB recording, as a user runs it,
// beside `cat FILE > /dev/null` of the same cached file: stored as it is and
// with the default compression. The peak memory of the exporting process is
// reported (the frames go through one block of 1024 at a time).
#include "bench/support/large_recording.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string& recording1GiB() {
    static const std::string path = pelix::bench::generateLargeRecording("hdf5-1GiB.BIN", 3);
    return path;
}

void BM_CatRecording(benchmark::State& state) {
    pelix::bench::catToDevNull(state, recording1GiB());
}
BENCHMARK(BM_CatRecording)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The largest resident set of any child so far, MiB.
double childrenPeakMiB() {
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    return static_cast<double>(children.ru_maxrss) / 1024.0;
}

void BM_ExportHdf5(benchmark::State& state) {
    const std::string& path = recording1GiB();
    if (path.empty()) return state.SkipWithError("no recording");
    pelix::bench::warmCache(path);
    const std::string output = pelix::testing::programTempFolder().file("export.h5");
    const std::string command = std::string(PELIX_BIN_DIR) + "/pelix export " + path + " -o " + output +
                                " --compress " + std::to_string(state.range(0));
    std::uintmax_t written = 0;
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) return state.SkipWithError("pelix export failed");
        state.PauseTiming();
        written = std::filesystem::file_size(output);
        // Large files are not kept between runs: the disk is shared.
        std::filesystem::remove(output);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["output_MiB"] = static_cast<double>(written) / (1024.0 * 1024.0);
    state.counters["peak_children_MiB"] = childrenPeakMiB();
}
BENCHMARK(BM_ExportHdf5)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
