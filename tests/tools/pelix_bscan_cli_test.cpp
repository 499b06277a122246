// pelix bscan as the outside checks run it: the JSON cells against the column
// rule on a crafted recording, the numbers equal to the scan's own on a
// generated one, the options' ranges, a rejected and a cut-short recording.
#include "core/bscan/bscan_scan.h"
#include "core/recording/open_recording.h"
#include "support/recording_files.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace pelix::recording;
using pelix::bscan::cellOfByte;
using pelix::bscan::CellScale;
using pelix::testing::pelix;
using pelix::testing::putBigEndian;
using pelix::testing::ToolRun;

// The cells as JSON rows, written here from a per-column function of the row.
template <typename Cell> std::string cellsJson(int width, int height, Cell cell) {
    std::string out = "[";
    for (int r = 0; r < height; ++r) {
        out += r > 0 ? ",[" : "[";
        for (int c = 0; c < width; ++c)
            out += (c > 0 ? "," : "") + cell(r, c);
        out += ']';
    }
    return out + "]";
}

class PelixBscanTest : public ::testing::Test {
  protected:
    // Full-wave rectified, 10 frames of silence but frame 7, whose every sample is at full height.
    void SetUp() override {
        bytes = pelix::testing::rawRecording(10 * kFrameRecordBytes);
        putBigEndian(bytes, rh::Rectification, 3);
        const std::size_t block = kRecordingHeaderBytes + 6 * kFrameRecordBytes + kFrameHeaderBytes;
        bytes.replace(block, kSampleBlockBytes, kSampleBlockBytes, static_cast<char>(255));
        file.write(bytes);
    }
    std::string bscan(const std::string& options) const { return "bscan " + file.path() + " " + options; }

    std::string bytes;
    pelix::testing::TempFile file;
    const std::string low = std::to_string(cellOfByte(0, CellScale::Rectified));
    const std::string high = std::to_string(cellOfByte(255, CellScale::Rectified));
};

TEST_F(PelixBscanTest, CellsFollowTheColumnRule) {
    const struct {
        std::string options;
        int width, height, from, to;
        std::vector<int> highColumns; // the columns holding frame 7
    } cases[] = {
        // N > W: column c holds frames 1 + floor(c*10/4) ..: 1-2, 3-5, 6-7, 8-10.
        {"--width 4 --height 3", 4, 3, 1, 10, {2}},
        // N = W: a frame a column.
        {"--width 10 --height 1", 10, 1, 1, 10, {6}},
        // N < W: frame 7 spans columns 12 and 13 of 20.
        {"--width 20 --height 2", 20, 2, 1, 10, {12, 13}},
        // A range: frames 6..8 in 3 columns.
        {"--from 6 --to 8 --width 3 --height 800", 3, 800, 6, 8, {1}},
        {"--from 8 --width 2 --height 5", 2, 5, 8, 10, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        const ToolRun run = pelix(bscan("--json " + c.options));
        EXPECT_EQ(run.status, 0);
        const std::string cells = cellsJson(c.width, c.height, [&](int, int column) {
            return std::find(c.highColumns.begin(), c.highColumns.end(), column) != c.highColumns.end() ? high
                                                                                                        : low;
        });
        EXPECT_EQ(run.out, "{\"Width\":" + std::to_string(c.width) + ",\"Height\":" +
                               std::to_string(c.height) + ",\"From\":" + std::to_string(c.from) +
                               ",\"To\":" + std::to_string(c.to) + ",\"Cells\":" + cells + "}\n");
    }
}

// The defaults and an RF recording of the generator: the numbers are the scan's own.
TEST(PelixBscanSample, DefaultsAndRfCellsAreTheScans) {
    const std::string path = std::string(PELIX_SAMPLES_DIR) + "/RF_INCH_V7.BIN";
    OpenOutcome opened = OpenRecording::open(path);
    ASSERT_TRUE(opened.recording);
    const pelix::bscan::BscanResult scan = pelix::bscan::scanBscan(*opened.recording, {});
    ASSERT_EQ(scan.grid.scale(), CellScale::Rf);
    const std::string expected =
        "{\"Width\":1000,\"Height\":400,\"From\":1,\"To\":400,\"Cells\":" +
        cellsJson(1000, 400, [&](int r, int c) { return std::to_string(scan.grid.cell(r, c)); }) + "}\n";
    const ToolRun run = pelix("bscan " + path + " --json");
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.out == expected) << run.out.substr(0, 300);
}

TEST_F(PelixBscanTest, OptionsOutOfRangeAreNamed) {
    const struct {
        std::string args;
        int status;
        const char* says;
    } cases[] = {
        {bscan(""), 2, "expects --json or -o OUT.png"},
        {bscan("--json -o x.png"), 2, "--json and -o exclude each other"},
        {"bscan --json", 2, "expects FILE"},
        {bscan("--json --width 0"), 2, "--width must be 1..20000 columns"},
        {bscan("--json --width 20001"), 2, "--width must be 1..20000 columns"},
        {bscan("--json --height 801"), 2, "--height must be 1..800 rows"},
        {bscan("--json --height x"), 2, "--height must be 1..800 rows"},
        {bscan("--json --from 0"), 2, "--from 0: "},
        {bscan("--json --to 11"), 2, "holds frames 1..10"},
        {bscan("--json --from 11"), 2, "--from 11"},
        {bscan("--json --from 6 --to 5"), 2, "--from 6 comes after --to 5"},
        {bscan("--json --width 20000 --height 800 --from 10"), 0, "\"Width\":20000,\"Height\":800"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const ToolRun run = pelix(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out.substr(0, 400);
    }
}

TEST_F(PelixBscanTest, RejectedAndCutShortRecordings) {
    pelix::testing::TempFile junk;
    junk.write(std::string(4000, 'x'));
    EXPECT_EQ(pelix("bscan " + junk.path() + " --json").status, 3);

    // Less than half a record of frame 9 is no frame; more is frame 9, cut short: its column has
    // no cells, what came before is written.
    file.write(bytes.substr(0, kRecordingHeaderBytes + 8 * kFrameRecordBytes + 100));
    EXPECT_EQ(pelix(bscan("--json --width 1 --height 1")).out,
              "{\"Width\":1,\"Height\":1,\"From\":1,\"To\":8,\"Cells\":[[" + high + "]]}\n");
    file.write(bytes.substr(0, kRecordingHeaderBytes + 9 * kFrameRecordBytes - 100));
    const ToolRun run = pelix(bscan("--json --width 9 --height 1"));
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.out.find("the file ends inside frame 9"), std::string::npos) << run.out;
    const std::string row = cellsJson(9, 1, [&](int, int c) {
        return c == 8 ? "null" : c == 6 ? high : low;
    });
    EXPECT_NE(run.out.find("\"To\":9,\"Cells\":" + row + "}"), std::string::npos) << run.out;
}

// The picture is made by the drawing program; the file it leaves is a PNG of
// the cells' size plus the axes and the colour bar, and never the recording.
TEST_F(PelixBscanTest, PictureIsWrittenThroughTheDrawingProgram) {
    const std::string png = std::filesystem::path(file.path()).parent_path() / "b.png";
    ASSERT_EQ(pelix(bscan("-o " + png + " --width 300 --height 150")).status, 0);
    std::ifstream in(png, std::ios::binary);
    const std::string data((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(data.size(), 24U);
    EXPECT_EQ(data.substr(1, 3), "PNG");
    const auto word = [&](std::size_t at) {
        return (static_cast<uint32_t>(static_cast<uint8_t>(data[at])) << 24) |
               (static_cast<uint32_t>(static_cast<uint8_t>(data[at + 1])) << 16) |
               (static_cast<uint32_t>(static_cast<uint8_t>(data[at + 2])) << 8) |
               static_cast<uint32_t>(static_cast<uint8_t>(data[at + 3]));
    };
    EXPECT_GT(word(16), 300U); // IHDR width
    EXPECT_GT(word(20), 150U); // IHDR height
    EXPECT_EQ(pelix(bscan("-o " + file.path())).status, 1);
    EXPECT_EQ(file.read(), bytes);
}

} // namespace
