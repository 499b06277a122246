// Reader speed: decoding frame records, and opening a large recording with
// its full flag scan.
#include "bench/support/large_recording.h"
#include "core/recording/open_recording.h"
#include "tests/support/temp_folder.h"
#include "tools/pelix-synth/recording_synth.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace pelix::recording;

namespace {

// Decoding one frame record into the header fields and AscanPoints/AscanRaw.
void BM_DecodeFrameRecord(benchmark::State& state) {
    pelix::synth::SynthOptions options;
    options.rectification = static_cast<int32_t>(state.range(0));
    pelix::synth::RecordingSynth synth(options);
    std::vector<pelix::synth::FrameRecord> records;
    for (int32_t n = 1; n <= 64; ++n)
        records.push_back(synth.nextFrameRecord(n, 0));
    DecodedTrace trace;
    std::size_t i = 0;
    for (auto _ : state) {
        const auto& record = records[i++ & 63];
        const FrameHeader header = decodeFrameHeader(record.data());
        benchmark::DoNotOptimize(header);
        composeSamples(options.rectification, record.data() + kFrameHeaderBytes, trace);
        benchmark::DoNotOptimize(trace.AscanPoints.data());
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DecodeFrameRecord)->Arg(0)->Arg(3)->ArgName("rect");

// A 1 GiB recording whose operator flags are spread to its very end, written
// once per run and removed with the program's folder; the frames carry only
// their flag words (the scan reads nothing else).
const std::string& largeRecording() {
    static const std::string path = [] {
        const std::string p = pelix::testing::programTempFolder().file("flags-1GiB.BIN");
        constexpr auto kRecord = static_cast<int64_t>(pelix::recording::kFrameRecordBytes);
        const int64_t frames = (int64_t{1} << 30) / kRecord;
        const int64_t flags = 16;
        pelix::synth::SynthOptions options;
        options.flagCount = static_cast<int32_t>(flags);
        options.flaggedFrames = 0;
        const auto header = pelix::synth::RecordingSynth(options).header();
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
        std::vector<char> chunk(kRecord * 512, 0);
        for (int64_t first = 1; first <= frames; first += 512) {
            std::fill(chunk.begin(), chunk.end(), 0);
            for (int64_t k = 1; k <= flags; ++k) {
                const int64_t flagged = k * frames / flags; // the last flag is the last frame
                // The flag word is the first of the record.
                if (flagged >= first && flagged < first + 512)
                    chunk[static_cast<std::size_t>((flagged - first) * kRecord +
                                                   pelix::recording::fh::FrameFlag)] = 1;
            }
            out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        }
        return p;
    }();
    return path;
}

void BM_OpenLargeRecordingWithFullFlagScan(benchmark::State& state) {
    const std::string& path = largeRecording();
    { auto warm = OpenRecording::open(path); } // page cache warm
    long peakAnon = 0;
    for (auto _ : state) {
        OpenOutcome out = OpenRecording::open(path);
        if (!out.recording || out.recording->flags().found() != 16)
            state.SkipWithError("flag scan incomplete");
        peakAnon = std::max(peakAnon, pelix::bench::rssAnonKiB());
        benchmark::DoNotOptimize(out);
    }
    state.counters["RssAnon_MiB"] = static_cast<double>(peakAnon) / 1024.0;
}
BENCHMARK(BM_OpenLargeRecordingWithFullFlagScan)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
