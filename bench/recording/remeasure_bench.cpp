// pelix readings --gate-a (every frame measured again) over a 1 GiB recording,
// side by side with `cat FILE > /dev/null` of the same cached file: recording
// bytes per second, and the tool's peak memory, which must not grow with the
// recording.
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string& remeasureRecording() {
    static const std::string path = [] {
        const std::string p = pelix::testing::programTempFolder().file("remeasure-1GiB.BIN");
        pelix::synth::SynthOptions options;
        options.frames = static_cast<int32_t>((int64_t{1} << 30) / 2048);
        options.flaggedFrames = 20;
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        pelix::synth::RecordingSynth(options).write(out);
        return p;
    }();
    return path;
}

void runCommand(benchmark::State& state, const std::string& command) {
    const std::string& path = remeasureRecording();
    if (std::system(command.c_str()) != 0) { // also warms the page cache
        state.SkipWithError(("failed: " + command).c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["PeakRss_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}

void BM_CatRecording(benchmark::State& state) {
    runCommand(state, "cat " + remeasureRecording() + " > /dev/null");
}
BENCHMARK(BM_CatRecording)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ReadingsRemeasured(benchmark::State& state) {
    const std::string tool = PELIX_BIN_DIR "/pelix";
    if (!std::filesystem::exists(tool)) {
        state.SkipWithError("build the pelix target first");
        return;
    }
    runCommand(state, tool + " readings " + remeasureRecording() +
                          " --csv --gate-a 10,30 --gate-b 40,20 > /dev/null");
}
BENCHMARK(BM_ReadingsRemeasured)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
