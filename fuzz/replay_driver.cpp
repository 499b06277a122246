// Runs a fuzz harness without libFuzzer, inside the test suite: every seed of
// its corpus as it is, then deterministic mutations of them (bit flips,
// truncations, hostile header words, random bytes, appended garbage, and new
// parameter bytes for the harnesses that take some), so the suite exercises
// the same paths under the sanitizers.
//   HARNESS --corpus DIR [--iterations N]
#include "fuzz/fuzz_input.h"
#include "tools/pelix-synth/synth_random.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

using pelix::fuzz::kParameterBytes;

std::vector<std::string> readSeeds(const std::string& folder) {
    std::vector<std::filesystem::path> paths;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file()) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end()); // the same order, so the same mutations, on every run
    std::vector<std::string> seeds;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return seeds;
}

void putWord(std::string& input, std::size_t at, uint32_t v, bool bigEndian) {
    for (std::size_t b = 0; b < 4 && at + b < input.size(); ++b)
        input[at + b] = static_cast<char>(v >> (bigEndian ? 24 - 8 * b : 8 * b));
}

void mutate(std::string& input, pelix::synth::SynthRandom& random) {
    const auto below = [&random](std::size_t n) {
        return static_cast<std::size_t>(random.below(static_cast<int32_t>(std::max<std::size_t>(n, 1))));
    };
    // The recording starts after the parameter bytes.
    const std::size_t start = std::min(kParameterBytes, input.size());
    const std::size_t length = input.size() - start;
    switch (random.below(kParameterBytes > 0 ? 6 : 5)) {
    case 0: // truncate anywhere
        input.resize(start + below(length + 1));
        break;
    case 1: // flip bytes
        for (int k = random.below(16) + 1; k > 0 && length > 0; --k)
            input[start + below(length)] ^= static_cast<char>(1 + random.below(255));
        break;
    case 2: { // a hostile value in a setup word that sizes or selects something
        const std::size_t offsets[] = {4, 8, 12, 16, 36, 100, 212, 704, 712, 788};
        const uint32_t values[] = {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0, 1, 2, 3, 4, 255, 65536};
        putWord(input, start + offsets[random.below(10)], values[random.below(10)], true);
        break;
    }
    case 3: // random bytes of random length after the parameters
        input.resize(start + below(6000));
        for (std::size_t i = start; i < input.size(); ++i)
            input[i] = static_cast<char>(random.below(256));
        break;
    case 4: // appended garbage
        input.append(below(3000), static_cast<char>(random.below(256)));
        break;
    default: { // new parameters: a float that matters to a box or a gate, or random bytes
        const float values[] = {0.0F,   -1.0F,   0.5F,   50.0F, 100.0F,  799.5F,
                                800.0F, 1600.0F, -1e30F, 1e30F, 3.4e38F, 1e-40F};
        for (std::size_t at = 0; at + 4 <= start; at += 4) {
            if (random.below(2) == 0) continue;
            uint32_t bits = 0;
            if (random.below(2) == 0)
                std::memcpy(&bits, &values[random.below(12)], 4);
            else
                bits = static_cast<uint32_t>(random.below(65536)) << 16 |
                       static_cast<uint32_t>(random.below(65536));
            putWord(input, at, bits, false);
        }
    }
    }
}

} // namespace

int main(int argc, char** argv) {
    long iterations = 1000;
    std::string corpus;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--iterations") == 0) iterations = std::strtol(argv[i + 1], nullptr, 10);
        if (std::strcmp(argv[i], "--corpus") == 0) corpus = argv[i + 1];
    }
    const std::vector<std::string> seeds = corpus.empty() ? std::vector<std::string>() : readSeeds(corpus);
    if (seeds.empty()) {
        std::cerr << "no seed recordings in '" << corpus << "' (give --corpus DIR)\n";
        return 2;
    }
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);

    for (const std::string& seed : seeds)
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(seed.data()), seed.size());
    pelix::synth::SynthRandom random(12345);
    for (long it = 0; it < iterations; ++it) {
        std::string input = seeds[static_cast<std::size_t>(random.below(static_cast<int32_t>(seeds.size())))];
        mutate(input, random);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::cout << seeds.size() << " seeds and " << iterations << " mutations replayed\n";
    return 0;
}
