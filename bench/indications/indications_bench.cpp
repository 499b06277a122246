// Indications over a 1 GiB recording: the recorded gate A amplitudes read by the
// header scan and searched, against reading the same cached file whole, as `cat`
// does; and the search alone over an echo dynamic built to make every drop
// extent as long as the recording. The process's peak memory is reported: the
// series holds about a byte a frame, never the frames.
#include "core/indications/indication_finder.h"
#include "core/indications/recorded_amplitudes.h"
#include "core/recording/open_recording.h"
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace pelix;

const std::string& recording1GiB() {
    static const std::string path = [] {
        const std::string p = testing::programTempFolder().file("indications-1GiB.BIN");
        synth::SynthOptions options;
        options.frames = static_cast<int32_t>((int64_t{1} << 30) / 2048);
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        synth::RecordingSynth(options).write(out);
        return p;
    }();
    return path;
}

double peakRssMiB() {
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    return static_cast<double>(self.ru_maxrss) / 1024.0;
}

// What `cat FILE > /dev/null` costs: the whole file read in large blocks.
void BM_ReadWholeFile(benchmark::State& state) {
    const std::string& path = recording1GiB();
    std::vector<char> block(1 << 20);
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        int64_t total = 0;
        for (ssize_t got; (got = ::read(fd, block.data(), block.size())) > 0;)
            total += got;
        ::close(fd);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadWholeFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_RecordedIndications(benchmark::State& state) {
    const std::string& path = recording1GiB();
    recording::OpenOutcome opened =
        recording::OpenRecording::open(path, recording::OpenRecording::FlagScan::Skip);
    if (!opened.recording) {
        state.SkipWithError(opened.message.c_str());
        return;
    }
    const recording::OpenRecording& rec = *opened.recording;
    std::size_t found = 0;
    for (auto _ : state) {
        const indications::RecordedAmplitudes recorded = indications::scanRecordedAmplitudes(
            rec.file(), recording::frameRecordLayout(rec), indications::Gate::A, 1, rec.FrameCount());
        indications::IndicationRules rules;
        rules.count = indications::CountRule::atLeastPercent(40);
        found = indications::findIndications(recorded.series, rules).size();
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
    state.counters["Indications"] = static_cast<double>(found);
    state.counters["PeakRss_MiB"] = peakRssMiB();
}
BENCHMARK(BM_RecordedIndications)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The command a user runs, `pelix indications FILE --json`, beside `cat FILE > /dev/null` on the
// same cached file in the same run; the command's peak memory must not grow with the recording.
void runCommand(benchmark::State& state, const std::string& command) {
    if (std::system(command.c_str()) != 0) { // also warms the page cache
        state.SkipWithError(("failed: " + command).c_str());
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(std::system(command.c_str()));
    state.SetBytesProcessed(state.iterations() *
                            static_cast<int64_t>(std::filesystem::file_size(recording1GiB())));
}

void BM_CatCommand(benchmark::State& state) {
    runCommand(state, "cat " + recording1GiB() + " > /dev/null");
}
BENCHMARK(BM_CatCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_IndicationsCommand(benchmark::State& state) {
    const std::string tool = PELIX_BIN_DIR "/pelix";
    if (!std::filesystem::exists(tool)) {
        state.SkipWithError("build the pelix target first");
        return;
    }
    runCommand(state, tool + " indications " + recording1GiB() + " --json > /dev/null");
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["PeakRss_MiB"] = static_cast<double>(children.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_IndicationsCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// 60 % and 59 % in turn at a level of 60 %: every other frame is an indication of its own
// whose drop extent covers the whole series.
void BM_LongestDropExtents(benchmark::State& state) {
    const auto frames = static_cast<int32_t>(state.range(0));
    indications::AmplitudeSeries series;
    series.reserve(frames);
    for (int32_t f = 0; f < frames; ++f)
        series.append(f % 2 ? 59 : 60);
    indications::IndicationRules rules;
    rules.count = indications::CountRule::atLeastPercent(60);
    for (auto _ : state) {
        std::size_t found = 0;
        indications::findIndications(series, rules, [&found](const indications::Indication&) {
            ++found;
            return true;
        });
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * frames);
}
BENCHMARK(BM_LongestDropExtents)->Arg(1 << 19)->Unit(benchmark::kMillisecond);

} // namespace
