// What the benchmarks over a large recording share: a generated 1 GiB
// recording, reading it with cat (the floor a pass over the whole file is
// measured against) and the process's own memory.
#pragma once

#include "core/recording/record_layout.h"
#include "tests/support/temp_folder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace pelix::bench {

// A 1 GiB recording with real traces of rectification `rect`, made by the
// generator once per name in the program's private folder, which goes when
// the benchmark ends. Empty when the generator failed.
inline std::string generateLargeRecording(const std::string& name, int rect) {
    const std::string p = pelix::testing::programTempFolder().file(name);
    constexpr auto kRecord = static_cast<int64_t>(pelix::recording::kFrameRecordBytes);
    const int64_t frames = (int64_t{1} << 30) / kRecord;
    const std::string command = std::string(PELIX_BIN_DIR) + "/pelix-synth -o " + p + " --rect " +
                                std::to_string(rect) + " --frames " + std::to_string(frames) + " > /dev/null";
    if (std::system(command.c_str()) != 0) return std::string();
    return p;
}

// Anonymous resident memory of this process (KiB): what the program itself
// holds, not the cached file.
inline long rssAnonKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0) return std::stol(line.substr(8));
    return -1;
}

inline void warmCache(const std::string& path) {
    const std::string command = "cat " + path + " > /dev/null";
    if (std::system(command.c_str()) != 0) std::abort();
}

// `cat FILE > /dev/null` of the cached recording, timed as the benchmark beside it.
inline void catToDevNull(benchmark::State& state, const std::string& path) {
    if (path.empty()) return state.SkipWithError("no recording");
    warmCache(path);
    const std::string command = "cat " + path + " > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}

} // namespace pelix::bench
