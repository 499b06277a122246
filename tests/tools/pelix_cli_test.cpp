// The command-line tool as a user runs it: exit status, messages and JSON.
#include "support/recording_files.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

using pelix::testing::pelix;
using pelix::testing::ToolRun;

const std::string kPlainScan = std::string(PELIX_SAMPLES_DIR) + "/PLAIN_SCAN.BIN";

TEST(PelixToolTest, ExitStatusTellsUsageFromRejection) {
    pelix::testing::TempFile notARecording;
    notARecording.write(std::string(2000, 'x'));
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {"", 2, "usage"},
        {"nonsense", 2, "unknown command"},
        {"info", 2, "expects one FILE"},
        {"info " + kPlainScan + " --bogus", 2, "unknown option"},
        {"frame " + kPlainScan, 2, "expects FILE and N"},
        {"frame " + kPlainScan + " x", 2, "whole number"},
        {"frame " + kPlainScan + " 0", 2, "outside"},
        {"frame " + kPlainScan + " 3001", 2, "outside"},
        {"info " + notARecording.path(), 3, "File format is not correct"},
        {"frame " + notARecording.path() + " 1", 3, "File format is not correct"},
        {"info /tmp", 3, "folder"},
        {"info --help", 0, "usage: pelix info"},
    };
    for (const auto& c : cases) {
        const ToolRun run = pelix(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << "\n" << run.out;
    }
}

TEST(PelixToolTest, InfoJsonUsesTheFieldNames) {
    const ToolRun run = pelix("info " + kPlainScan + " --json");
    ASSERT_EQ(run.status, 0) << run.out;
    for (const char* expected :
         {"\"FrameCount\":3000", "\"HeaderSize\":1024", "\"TotalSeconds\":60", "\"FlagCount\":6",
          "\"FlagIndex\":[0,", "\"Velocity\":32300", "\"ulHardwareTOF_20ns\":[", "\"DisplayDelay\":"})
        EXPECT_NE(run.out.find(expected), std::string::npos) << expected;
}

TEST(PelixToolTest, FrameJsonHoldsTraceAndControlValues) {
    const ToolRun rf = pelix("frame " + std::string(PELIX_SAMPLES_DIR) + "/RF_INCH_V7.BIN 12 --json");
    ASSERT_EQ(rf.status, 0) << rf.out;
    for (const char* expected :
         {"\"Frame\":12", "\"TimeIndex\":1", "\"Offset\":", "\"GateAThreshold\":-30", "\"AscanPoints\":[",
          "\"AscanRaw\":[", "\"iAscanRectMode\":1", "\"iNumPoints\":1600"})
        EXPECT_NE(rf.out.find(expected), std::string::npos) << expected;
    EXPECT_EQ(rf.out.find("EnvelopePoints"), std::string::npos);

    const ToolRun env = pelix("frame " + std::string(PELIX_SAMPLES_DIR) + "/ENVELOPE_US.BIN 3 --json");
    ASSERT_EQ(env.status, 0) << env.out;
    EXPECT_NE(env.out.find("\"EnvelopePoints\":["), std::string::npos);
    EXPECT_NE(env.out.find("\"SecondFrameHeader\":{"), std::string::npos);
    EXPECT_NE(env.out.find("\"iNumPoints\":800"), std::string::npos);
}

} // namespace
