// pelix search as the outside checks run it: the list in the window's words,
// the JSON shape, and the exit status for a bad box.
#include "support/recording_files.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

namespace {

using namespace pelix::recording;

using SearchRun = pelix::testing::ToolRun;

SearchRun pelixSearch(const std::string& arguments) {
    return pelix::testing::pelix("search " + arguments);
}

class PelixSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        // RF, 60 frames; echoes of 78 % at column 100 in frames 7 (upper half) and 42 (lower half).
        std::string bytes = pelix::testing::rawRecording(60 * kFrameRecordBytes);
        for (const auto& [frame, half] : {std::pair{7, 0}, std::pair{42, 1}})
            bytes[kRecordingHeaderBytes + (frame - 1) * kFrameRecordBytes + kFrameHeaderBytes + 200 + half] =
                static_cast<char>(200);
        file.write(bytes);
    }
    pelix::testing::TempFile file;
};

TEST_F(PelixSearchTest, TextAndJsonOutput) {
    const SearchRun text = pelixSearch(file.path() + " --box 99.5,100.5,70,80");
    EXPECT_EQ(text.status, 0);
    EXPECT_EQ(text.out, "1.  Frame 7\n2.  Frame 42\n");
    const SearchRun json = pelixSearch(file.path() + " --box 99.5,100.5,70,80 --json");
    EXPECT_EQ(json.out, "{\"matches\":[7,42],\"entries\":[\"1.  Frame 7\",\"2.  Frame 42\"]}\n");
    const SearchRun none = pelixSearch(file.path() + " --json --box 100,101,70,80"); // RF edges are strict
    EXPECT_EQ(none.out, "{\"matches\":[],\"entries\":[\"Not found.\"]}\n");
    EXPECT_EQ(pelixSearch(file.path() + " --box 0,800,78,100").out, "Not found.\n");
}

TEST_F(PelixSearchTest, ExitStatus) {
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {file.path(), 2, "expects --box"},
        {"--box 1,2,3,4", 2, "expects one FILE"},
        {file.path() + " --box 1,2,3", 2, "four numbers"},
        {file.path() + " --box 1,2,3,4,5", 2, "four numbers"},
        {file.path() + " --box 1,x,3,4", 2, "four numbers"},
        {file.path() + " --box 1,nan,3,4", 2, "four numbers"},
        // Limits below the picture are brought up to its edges, as the window keeps its box inside.
        {file.path() + " --box -5,2e2,-1,4.5", 0, "--box -5,2e2,-1,4.5 reaches outside the picture"},
        {file.path() + " --box -5,2e2,-1,4.5", 0, "the box is 0,200,0,4.5"},
        {"/nonexistent.BIN --box 1,2,3,4", 3, "Cannot open"},
        {"--help", 0, "usage: pelix search"},
    };
    for (const auto& c : cases) {
        const SearchRun run = pelixSearch(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << "\n" << run.out;
    }
}

} // namespace
