#include "tools/pelix-synth/recording_synth.h"
#include "tools/pelix-synth/synth_options.h"

#include <cstring>
#include <fstream>
#include <iostream>

int main(int argc, char** argv) {
    using namespace pelix::synth;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << usage();
            return 0;
        }
    SynthOptions options;
    std::string output, error;
    if (!parseOptions(argc, argv, options, output, error)) {
        std::cerr << "pelix-synth: " << error << "\n" << usage();
        return 2;
    }
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    if (!out) {
        std::cerr << "pelix-synth: cannot write " << output << "\n";
        return 1;
    }
    RecordingSynth synth(options);
    synth.write(out);
    out.close();
    if (!out) {
        std::cerr << "pelix-synth: writing " << output << " failed\n";
        return 1;
    }
    return 0;
}
