#include "tools/pelix-synth/synth_options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace pelix::synth {

namespace {
bool toInt(std::string_view text, int64_t& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}
} // namespace

std::string usage() {
    return "usage: pelix-synth -o FILE [options]\n"
           "  --rect N          rectification: 0 RF, 1 NEG, 2 POS, 3 FULLWAVE (default 3)\n"
           "  --envelope        envelope recording (two records per frame)\n"
           "  --units N         0 mm, 1 inch, 2 microseconds (default 0)\n"
           "  --rate N          10 or 50 frames per second (default 50)\n"
           "  --version N       recording version, 6, 7 or 8 (default 8)\n"
           "  --frames N        number of frames (default 600)\n"
           "  --flags N         number of flagged frames (default 4)\n"
           "  --flag-count N    FlagCount written in the header (default: the flagged frames)\n"
           "  --eval N          evaluation mode: 0 DAC, 1 DGS, 4 JIS, 5 CN (default 0)\n"
           "  --angle N         probe angle in 0.1 degree, 0 for a straight beam (default 450)\n"
           "  --extra-bytes N   append N bytes of a further, incomplete record\n"
           "  --seed N          random seed (default 1)\n";
}

bool parseOptions(int argc, char** argv, SynthOptions& o, std::string& output, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--envelope") {
            o.envelope = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value after " + std::string(arg);
            return false;
        }
        const std::string_view value = argv[++i];
        if (arg == "-o" || arg == "--output") {
            output = std::string(value);
            continue;
        }
        int64_t n = 0;
        if (!toInt(value, n) || n < INT32_MIN || n > INT32_MAX) {
            error = "not a whole number: " + std::string(value);
            return false;
        }
        const auto v = static_cast<int32_t>(n);
        if (arg == "--rect")
            o.rectification = v;
        else if (arg == "--units")
            o.units = v;
        else if (arg == "--rate") {
            if (v != 10 && v != 50) {
                error = "--rate takes 10 or 50";
                return false;
            }
            o.framesPerSecond = v;
        } else if (arg == "--version")
            o.version = v;
        else if (arg == "--frames")
            o.frames = v < 0 ? 0 : v;
        else if (arg == "--flags")
            o.flaggedFrames = v < 0 ? 0 : v;
        else if (arg == "--flag-count")
            o.flagCount = v;
        else if (arg == "--eval")
            o.evalMode = v;
        else if (arg == "--angle")
            o.angle_01deg = v;
        else if (arg == "--extra-bytes")
            o.extraBytes = v;
        else if (arg == "--seed")
            o.seed = static_cast<uint64_t>(n);
        else {
            error = "unknown option " + std::string(arg);
            return false;
        }
    }
    if (output.empty()) {
        error = "no output file (-o FILE)";
        return false;
    }
    return true;
}

} // namespace pelix::synth
