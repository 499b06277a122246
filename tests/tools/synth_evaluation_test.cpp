// pelix-synth's evaluation options: each named mode writes the setup the
// instrument has in that mode, and the finer options change parts of it.
#include "core/recording/open_recording.h"
#include "support/recording_files.h"
#include "tools/pelix-synth/synth_options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace pelix::recording;

namespace {

bool parse(std::vector<std::string> args, pelix::synth::SynthOptions& options, std::string& error) {
    args.insert(args.begin(), "pelix-synth");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    std::string output;
    return pelix::synth::parseOptions(static_cast<int>(argv.size()), argv.data(), options, output, error);
}

RecordingHeader headerOf(const std::vector<std::string>& arguments) {
    std::vector<std::string> args{"-o", "x.BIN", "--frames", "3"};
    args.insert(args.end(), arguments.begin(), arguments.end());
    pelix::synth::SynthOptions options;
    std::string error;
    EXPECT_TRUE(parse(args, options, error)) << error;
    pelix::testing::TempFile file;
    file.write(pelix::testing::synthesize(options));
    const OpenOutcome out = OpenRecording::open(file.path());
    EXPECT_TRUE(out.recording) << out.message;
    return out.recording ? out.recording->header() : RecordingHeader{};
}

TEST(SynthEvaluationTest, NamedModesWriteTheInstrumentsSetup) {
    struct Case {
        const char* mode;
        int32_t evalMode, tcgMode, curveType, status, jis, cnRegs, dgsMode;
    } cases[] = {
        {"dac-straight", 0, 2, 0, 2, 0, 0, 0},  {"dac-curved", 0, 2, 1, 2, 0, 0, 0},
        {"dac-recording", 0, 2, 1, 1, 0, 0, 0}, {"tcg", 0, 1, 1, 2, 0, 0, 0},
        {"jis", 4, 0, 0, 2, 1, 0, 0},           {"cn-straight", 5, 0, 1, 2, 0, 5, 0},
        {"cn-curved", 5, 0, 1, 2, 0, 13, 0},    {"dgs-general", 1, 0, 1, 1, 0, 0, 1},
    };
    for (const Case& c : cases) {
        const RecordingHeader h = headerOf({"--eval", c.mode});
        EXPECT_EQ(h.EvalMode, c.evalMode) << c.mode;
        EXPECT_EQ(h.TCGMode, c.tcgMode) << c.mode;
        EXPECT_EQ(h.DACCurveType, c.curveType) << c.mode;
        EXPECT_EQ(h.TCGCurveStatus, c.status) << c.mode;
        EXPECT_EQ(h.JISEnable, c.jis) << c.mode;
        EXPECT_EQ(h.CNDACRegs, c.cnRegs) << c.mode;
        EXPECT_EQ(h.DGSMode, c.dgsMode) << c.mode;
    }
    const RecordingHeader jis = headerOf({"--eval", "jis"});
    EXPECT_EQ((std::vector<int32_t>(jis.CurveOffsets.begin() + 1, jis.CurveOffsets.end())),
              (std::vector<int32_t>{-120, -60, 60, 120, 180}));
}

TEST(SynthEvaluationTest, FinerOptionsOverrideTheModeWhereverTheyStand) {
    const RecordingHeader h =
        headerOf({"--offsets", "-30,0,45", "--eval", "dgs-probe-diagram", "--dgs-ref", "hole", "--dgs-ers",
                  "3000", "--points", "7", "--bea", "--filter", "5"});
    EXPECT_EQ(h.DGSProbeNum, 25);
    EXPECT_EQ(h.DGSRefType, 2);
    EXPECT_EQ(h.DGSCurve, 3000);
    EXPECT_EQ(h.BEA, 1);
    EXPECT_EQ(h.BWGain, 480);
    EXPECT_EQ(h.FilterSetup, 5);
    EXPECT_EQ(h.CurveOffsets[1], -30);
    EXPECT_EQ(h.CurveOffsets[3], 45);
    EXPECT_EQ(h.CurveOffsets[4], 0);
}

TEST(SynthEvaluationTest, UnknownModesAndBadListsAreUsageErrors) {
    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--eval", "dac-wobbly"},
                                               {"--offsets", "1,2,3,4,5,6"},
                                               {"--offsets", "1,x"},
                                               {"--dgs-ref", "cube"}}) {
        std::vector<std::string> args{"-o", "x.BIN"};
        args.insert(args.end(), bad.begin(), bad.end());
        pelix::synth::SynthOptions options;
        std::string error;
        EXPECT_FALSE(parse(args, options, error)) << bad[1];
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
