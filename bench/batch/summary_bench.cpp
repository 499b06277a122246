// The summary of a shift's worth of recordings: 100 files of 3,000 frames
// (6 MiB each), cached, summarised by the built tool as a user runs it
// (`pelix summary -j 2 --csv`) and in process over one and two workers,
// against `cat` of the same files. Ten recordings made by the generator, each
// copied ten times, so that the folder is made in seconds.
#include "core/batch/ordered_batch.h"
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace pelix;

constexpr int kRecordings = 100;
constexpr int kDistinct = 10;
constexpr int32_t kFrames = 3000;

const std::vector<std::string>& shiftOfRecordings() {
    static const std::vector<std::string> paths = [] {
        std::vector<std::string> made;
        for (int i = 0; i < kRecordings; ++i) {
            const std::string path = testing::programTempFolder().file("shift-" + std::to_string(i) + ".BIN");
            if (i < kDistinct) {
                synth::SynthOptions options;
                options.frames = kFrames;
                options.seed = static_cast<uint64_t>(i + 1);
                options.flawLead_ms = 500 * i;
                std::ofstream out(path, std::ios::binary | std::ios::trunc);
                synth::RecordingSynth(options).write(out);
            } else {
                std::filesystem::copy_file(made[static_cast<std::size_t>(i % kDistinct)], path,
                                           std::filesystem::copy_options::overwrite_existing);
            }
            made.push_back(path);
        }
        return made;
    }();
    return paths;
}

std::string fileWords() {
    std::string words;
    for (const std::string& path : shiftOfRecordings())
        words += " '" + path + "'";
    return words;
}

int64_t totalBytes() {
    int64_t total = 0;
    for (const std::string& path : shiftOfRecordings())
        total += static_cast<int64_t>(std::filesystem::file_size(path));
    return total;
}

// Runs `command` once to warm the page cache, then times it.
void timeCommand(benchmark::State& state, const std::string& command) {
    if (std::system(command.c_str()) != 0) {
        state.SkipWithError(("failed: " + command).c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetBytesProcessed(state.iterations() * totalBytes());
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["PeakRss_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}

void BM_SummaryToolTwoWorkers(benchmark::State& state) {
    const std::string tool = PELIX_BIN_DIR "/pelix";
    if (!std::filesystem::exists(tool)) {
        state.SkipWithError("build the pelix target first");
        return;
    }
    timeCommand(state, tool + " summary -j 2 --csv" + fileWords() + " > /dev/null");
}
BENCHMARK(BM_SummaryToolTwoWorkers)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_CatShiftOfRecordings(benchmark::State& state) {
    timeCommand(state, "cat" + fileWords() + " > /dev/null");
}
BENCHMARK(BM_CatShiftOfRecordings)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

void BM_SummaryInProcess(benchmark::State& state) {
    const std::vector<std::string>& paths = shiftOfRecordings();
    const auto workers = static_cast<int>(state.range(0));
    int64_t indications = 0;
    for (auto _ : state) {
        batch::summariseInOrder(paths, {}, workers, [&indications](const batch::RecordingSummary& row) {
            indications += row.gates[0].indications;
            return true;
        });
        benchmark::DoNotOptimize(indications);
    }
    state.SetBytesProcessed(state.iterations() * totalBytes());
}
BENCHMARK(BM_SummaryInProcess)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace
