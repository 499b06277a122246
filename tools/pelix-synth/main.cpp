#include "core/exit_codes.h"
#include "core/files/output_file.h"
#include "core/files/signal_cleanup.h"
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
            return pelix::kExitOk;
        }
    SynthOptions options;
    std::string output, error;
    if (!parseOptions(argc, argv, options, output, error)) {
        std::cerr << "pelix-synth: " << error << "\n" << usage();
        return pelix::kExitUsage;
    }
    // The recording is made beside its name and replaces an existing file only when complete.
    pelix::files::removeTemporariesOnSignals();
    pelix::files::OutputFile file;
    if (!file.open(output)) {
        std::cerr << "pelix-synth: " << file.error() << "\n";
        return pelix::kExitWriteFailed;
    }
    std::ofstream out(file.temporaryPath(), std::ios::binary | std::ios::trunc);
    RecordingSynth synth(options);
    if (out) synth.write(out);
    out.close();
    if (!out) file.fail("cannot be written");
    if (!file.commit()) {
        std::cerr << "pelix-synth: " << file.error() << "\n";
        return pelix::kExitWriteFailed;
    }
    return pelix::kExitOk;
}
