// Runs the fuzz harness without libFuzzer: generated recordings, then
// deterministic mutations of them (bit flips, truncations, hostile header
// words), so the test suite exercises the same paths under the sanitizers.
#include "player/recording/record_layout.h"
#include "tools/pelix-synth/recording_synth.h"
#include "tools/pelix-synth/synth_random.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

using namespace pelix;

int main(int argc, char** argv) {
    long iterations = 1000;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--iterations") == 0) iterations = std::strtol(argv[i + 1], nullptr, 10);

    std::vector<std::string> seeds;
    for (int variant = 0; variant < 6; ++variant) {
        synth::SynthOptions o;
        o.frames = 3 + variant;
        o.rectification = variant % 4;
        o.envelope = variant == 2;
        o.version = 6 + variant % 3;
        o.flaggedFrames = variant;
        o.seed = static_cast<uint64_t>(variant);
        std::ostringstream out;
        synth::RecordingSynth(o).write(out);
        seeds.push_back(out.str());
    }

    synth::SynthRandom random(12345);
    const std::size_t wordOffsets[] = {4, 8, 12, 16, 36, 100, 212, 704, 712, 788};
    for (long it = 0; it < iterations; ++it) {
        std::string input = seeds[static_cast<std::size_t>(random.below(static_cast<int32_t>(seeds.size())))];
        switch (random.below(5)) {
        case 0: // truncate anywhere
            input.resize(static_cast<std::size_t>(random.below(static_cast<int32_t>(input.size()) + 1)));
            break;
        case 1: // flip bytes
            for (int k = random.below(16) + 1; k > 0; --k)
                input[static_cast<std::size_t>(random.below(static_cast<int32_t>(input.size())))] ^=
                    static_cast<char>(1 + random.below(255));
            break;
        case 2: { // a hostile value in a header word that sizes or selects something
            const std::size_t off = wordOffsets[random.below(10)];
            const uint32_t values[] = {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0, 1, 2, 3, 4, 255, 65536};
            const uint32_t v = values[random.below(10)];
            for (int b = 0; b < 4; ++b)
                input[off + static_cast<std::size_t>(b)] = static_cast<char>(v >> (24 - 8 * b));
            break;
        }
        case 3: // random bytes of random length
            input.assign(static_cast<std::size_t>(random.below(6000)), '\0');
            for (char& c : input)
                c = static_cast<char>(random.below(256));
            break;
        default: // appended garbage
            input.append(static_cast<std::size_t>(random.below(3000)), static_cast<char>(random.below(256)));
        }
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
    }
    std::cout << iterations << " inputs replayed\n";
    return 0;
}
