// The whole-recording tables a user runs on a 1 GiB recording, each beside
// `cat FILE > /dev/null` of the same cached file in the same run: the recorded
// readings as CSV, the readings with gate A moved (every frame measured
// again), the indications and the overview series of a moved gate A. Each command's peak memory is
// reported: the tables stream, so it must not grow with the recording.
#include "bench/support/large_recording.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string& recording1GiB() {
    // Full-wave traces with echoes, so the gates find something to measure.
    static const std::string path = pelix::bench::generateLargeRecording("remeasure-1GiB.BIN", 3);
    return path;
}

// Runs the command once to warm the page cache, then times it; the peak memory is the largest
// of any child so far.
void runCommand(benchmark::State& state, const std::string& arguments) {
    const std::string& file = recording1GiB();
    if (file.empty()) {
        state.SkipWithError("pelix-synth could not write the recording");
        return;
    }
    const std::string tool = PELIX_BIN_DIR "/pelix";
    const std::string command = arguments.rfind("cat", 0) == 0
                                    ? "cat " + file + " > /dev/null"
                                    : tool + " " + arguments + " " + file + " > /dev/null";
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError(("failed: " + command).c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(file)));
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["PeakRssChildren_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}

void BM_Cat(benchmark::State& state) {
    runCommand(state, "cat");
}
void BM_CatAgain(benchmark::State& state) {
    runCommand(state, "cat");
}
void BM_ReadingsCsv(benchmark::State& state) {
    runCommand(state, "readings --csv");
}
void BM_ReadingsGateA(benchmark::State& state) {
    runCommand(state, "readings --csv --gate-a 10,30");
}
void BM_IndicationsGateA(benchmark::State& state) {
    runCommand(state, "indications --json --gate-a 10,30");
}
void BM_OverviewGateA(benchmark::State& state) {
    runCommand(state, "overview --json --gate-a 10,30");
}

// cat first and last, so a page cache that changes during the run shows.
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReadingsCsv)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReadingsGateA)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_IndicationsGateA)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_OverviewGateA)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CatAgain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
