#include "tools/pelix-synth/synth_options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace pelix::synth {

namespace {
// Every option that takes a value; the rest are --envelope and --bea.
constexpr std::string_view kValued[] = {
    "-o",        "--output",     "--eval",        "--offsets",    "--dgs-ref",
    "--rect",    "--units",      "--rate",        "--version",    "--frames",
    "--flags",   "--flag-count", "--points",      "--tcg-status", "--jis-bold",
    "--cn-regs", "--bw-gain",    "--filter",      "--dgs-probe",  "--dgs-ref-size",
    "--dgs-ers", "--angle",      "--extra-bytes", "--seed",       "--flaw-lead",
};

bool takesValue(std::string_view arg) {
    for (const std::string_view name : kValued)
        if (name == arg) return true;
    return false;
}

bool toInt(std::string_view text, int64_t& out) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}
} // namespace

std::string usage() {
    return std::string(
        "usage: pelix-synth -o FILE [options]\n"
        "  --rect N          rectification: 0 RF, 1 NEG, 2 POS, 3 FULLWAVE (default 3)\n"
        "  --envelope        envelope recording (two records per frame)\n"
        "  --units N         0 mm, 1 inch, 2 microseconds (default 0)\n"
        "  --rate N          10 or 50 frames per second (default 50)\n"
        "  --version N       recording version, 6, 7 or 8 (default 8)\n"
        "  --frames N        number of frames (default 600)\n"
        "  --flags N         number of flagged frames (default 4)\n"
        "  --flag-count N    FlagCount written in the header (default: the flagged frames)\n"
        "  --eval MODE       evaluation curves: " +
        evaluationModeNames() +
        "\n"
        "                    (default: DAC points still being recorded, nothing drawn)\n"
        "  --offsets LIST    curve offsets 1..5 in 0.1 dB, e.g. -60,-120,60\n"
        "  --points N        reference points recorded, 0..16 (default 4)\n"
        "  --tcg-status N    1: points still being recorded, 2: curve complete\n"
        "  --jis-bold N      JIS bold line: 1 curve 2, 2 curve 1, else the reference\n"
        "  --cn-regs N       CN DAC register: bit 0 on, bit 2 reference curve, 8 curved\n"
        "  --bea             gate B marked by lines, curves inside it follow --bw-gain\n"
        "  --bw-gain N       gain inside gate B, 0.1 dB (default 480)\n"
        "  --filter N        receiver filter setup (default 2)\n"
        "  --dgs-probe N     DGS probe catalogue row 0..40\n"
        "  --dgs-ref TYPE    DGS reference reflector: disc, hole or backwall\n"
        "  --dgs-ref-size N  reference reflector size, um\n"
        "  --dgs-ers N       ERS diameter of the DGS curve, um (default 2000)\n"
        "  --angle N         probe angle in 0.1 degree, 0 for a straight beam (default 450)\n"
        "  --extra-bytes N   append N bytes of a further, incomplete record\n"
        "  --flaw-lead N     ms the probe has already moved over the flaw at frame 1 (default 0)\n"
        "  --seed N          random seed (default 1)\n");
}

bool parseOptions(int argc, char** argv, SynthOptions& o, std::string& output, std::string& error) {
    // The mode gives a complete setup first; the other evaluation options then change parts of it.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string_view(argv[i]) != "--eval") continue;
        if (!applyEvaluationMode(argv[i + 1], o.evaluation)) {
            error = "unknown evaluation mode " + std::string(argv[i + 1]);
            return false;
        }
    }
    EvaluationSetup& e = o.evaluation;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--envelope") {
            o.envelope = true;
            continue;
        }
        if (arg == "--bea") {
            e.bea = 1;
            if (e.bwGain == 0) e.bwGain = 480;
            continue;
        }
        if (!takesValue(arg)) {
            error = "unknown option " + std::string(arg);
            return false;
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
        if (arg == "--eval") continue;
        if (arg == "--offsets") {
            if (!parseCurveOffsets(value, e)) {
                error = "--offsets takes up to five whole numbers separated by commas";
                return false;
            }
            continue;
        }
        if (arg == "--dgs-ref") {
            const auto type = dgsReferenceType(value);
            if (!type) {
                error = "--dgs-ref takes disc, hole or backwall";
                return false;
            }
            e.dgsRefType = *type;
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
        else if (arg == "--frames") {
            // A recording holds at least one frame; a setup record alone is no recording.
            if (v < 1) {
                error = "--frames takes a number of frames, 1 or more";
                return false;
            }
            o.frames = v;
        } else if (arg == "--flags")
            o.flaggedFrames = v < 0 ? 0 : v;
        else if (arg == "--flag-count")
            o.flagCount = v;
        else if (arg == "--points")
            e.points = v;
        else if (arg == "--tcg-status")
            e.tcgCurveStatus = v;
        else if (arg == "--jis-bold")
            e.jisBoldLine = v;
        else if (arg == "--cn-regs")
            e.cnDacRegs = v;
        else if (arg == "--bw-gain")
            e.bwGain = v;
        else if (arg == "--filter")
            e.filterSetup = v;
        else if (arg == "--dgs-probe")
            e.dgsProbeNum = v;
        else if (arg == "--dgs-ref-size")
            e.dgsRefSize = v;
        else if (arg == "--dgs-ers")
            e.dgsCurve = v;
        else if (arg == "--angle")
            o.angle_01deg = v;
        else if (arg == "--extra-bytes")
            o.extraBytes = v;
        else if (arg == "--flaw-lead")
            o.flawLead_ms = v;
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
