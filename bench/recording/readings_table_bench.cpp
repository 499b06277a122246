// pelix readings --csv over a 1 GiB recording: recording bytes read per second
// from the page cache, and the tool's peak memory, which must not grow with
// the recording.
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// A 1 GiB recording with the instrument's readings in every frame, written
// once per run and removed with the program's folder.
const std::string& readingsRecording() {
    static const std::string path = [] {
        const std::string p = pelix::testing::programTempFolder().file("readings-1GiB.BIN");
        pelix::synth::SynthOptions options;
        options.frames = static_cast<int32_t>((int64_t{1} << 30) / 2048);
        options.flaggedFrames = 20;
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        pelix::synth::RecordingSynth(options).write(out);
        return p;
    }();
    return path;
}

void BM_ReadingsTableCsv(benchmark::State& state) {
    const std::string tool = PELIX_BIN_DIR "/pelix";
    if (!std::filesystem::exists(tool)) {
        state.SkipWithError("build the pelix target first");
        return;
    }
    const std::string& path = readingsRecording();
    const std::string command = tool + " readings " + path + " --csv > /dev/null";
    if (std::system(command.c_str()) != 0) { // also warms the page cache
        state.SkipWithError("pelix readings failed");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["PeakRss_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_ReadingsTableCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
