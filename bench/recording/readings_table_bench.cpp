// pelix readings --csv over a 1 GiB recording, as recorded and with every frame
// measured again with moved gates, side by side with `cat FILE > /dev/null` of
// the same cached file: recording bytes read per second from the page cache,
// and the tool's peak memory, which must not grow with the recording.
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

// Runs `arguments` through the built tool over the recording, once to warm the page cache.
void timeTool(benchmark::State& state, const std::string& arguments) {
    const std::string tool = PELIX_BIN_DIR "/pelix";
    if (!std::filesystem::exists(tool)) {
        state.SkipWithError("build the pelix target first");
        return;
    }
    const std::string& path = readingsRecording();
    const std::string command = tool + " readings " + path + " " + arguments + " > /dev/null";
    if (std::system(command.c_str()) != 0) {
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

void BM_ReadingsTableCsv(benchmark::State& state) {
    timeTool(state, "--csv");
}
BENCHMARK(BM_ReadingsTableCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The same recording, every frame measured again with both gates moved.
void BM_ReadingsRemeasuredCsv(benchmark::State& state) {
    timeTool(state, "--csv --gate-a 10,30 --gate-b 40,20");
}
BENCHMARK(BM_ReadingsRemeasuredCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

// What the tables are measured against: the file read and thrown away.
void BM_CatRecording(benchmark::State& state) {
    const std::string command = "cat " + readingsRecording() + " > /dev/null";
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(readingsRecording())));
}
BENCHMARK(BM_CatRecording)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
