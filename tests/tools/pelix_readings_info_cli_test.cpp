// What the command-line tool tells a person and a spreadsheet about a
// recording: the held mark and the number/unit columns of `pelix readings`,
// and the summary of `pelix info` beside its field dump.
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

using pelix::testing::pelix;
using pelix::testing::ToolRun;

const std::string kSamples = std::string(PELIX_SAMPLES_DIR) + "/";

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// Frame 20 of the plain scan: gate A has lost its echo, so six readings are
// held from the last one; SB comes from gate B, which has its echo.
TEST(PelixReadingsTest, HeldFrameInEveryFormat) {
    const std::string args = "readings " + kSamples + "PLAIN_SCAN.BIN --from 20 --to 20";

    const ToolRun csv = pelix(args + " --csv");
    ASSERT_EQ(csv.status, 0) << csv.out;
    const std::vector<std::string> rows = lines(csv.out);
    ASSERT_EQ(rows.size(), 2U);
    // Today's columns stand as they were; the new ones follow them.
    EXPECT_EQ(rows[0],
              "Frame,Time,Flag,Name1,Value1,Name2,Value2,Name3,Value3,Name4,Value4,Name5,Value5,"
              "Name6,Value6,Name7,Value7,Number1,Unit1,Held1,Number2,Unit2,Held2,Number3,Unit3,"
              "Held3,Number4,Unit4,Held4,Number5,Unit5,Held5,Number6,Unit6,Held6,Number7,Unit7,Held7");
    EXPECT_EQ(rows[1],
              "20,0.38,0,SA^=,20.80mm,A%A=,32% ,DA=,14.71mm,PA=,14.71mm,SB^=,35.38mm,dBrA=,0.6dB,LA=,1,"
              "20.8,mm,1,32,%,1,14.71,mm,1,14.71,mm,1,35.38,mm,0,0.6,dB,1,1,,1");

    const ToolRun json = pelix(args + " --json");
    ASSERT_EQ(json.status, 0) << json.out;
    EXPECT_NE(
        json.out.find("{\"slot\":0,\"name\":\"SA^=\",\"value\":\"20.80mm\",\"background\":\"highlight-text\","
                      "\"number\":20.8,\"unit\":\"mm\",\"held\":true}"),
        std::string::npos)
        << json.out;
    EXPECT_NE(
        json.out.find("{\"slot\":4,\"name\":\"SB^=\",\"value\":\"35.38mm\",\"background\":\"button-face\","
                      "\"number\":35.38,\"unit\":\"mm\",\"held\":false}"),
        std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"value\":\"1\",\"background\":\"highlight-text\",\"number\":1,\"unit\":\"\""),
              std::string::npos);

    const ToolRun text = pelix(args);
    ASSERT_EQ(text.status, 0) << text.out;
    EXPECT_EQ(text.out, "20\t0.38\t\tSA^= 20.80mm*\tA%A= 32%*\tDA= 14.71mm*\tPA= 14.71mm*\tSB^= 35.38mm\t"
                        "dBrA= 0.6dB*\tLA= 1*\n");
}

TEST(PelixReadingsTest, EachUnitInTheColumns) {
    struct Case {
        const char* sample;
        int frame;
        const char* contains; // a slot's text, number, unit and held columns as they appear in the row
    };
    const Case cases[] = {
        {"RF_INCH_V7.BIN", 12, ",0.954,in,0"},
        {"ENVELOPE_US.BIN", 40, ",18.5,us,0"},
        {"PLAIN_SCAN.BIN", 20, ",32,%,1"},
        {"PLAIN_SCAN.BIN", 20, ",0.6,dB,1"},
        {"PLAIN_SCAN.BIN", 20, ",1,,1"},
        // A straight beam has no depth: an empty slot has no number, unit or held mark.
        {"STRAIGHT_DGS.BIN", 5, ",DA=,-----,"},
        {"STRAIGHT_DGS.BIN", 5, ",,,0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        const ToolRun run = pelix("readings " + kSamples + c.sample + " --csv --from " +
                                  std::to_string(c.frame) + " --to " + std::to_string(c.frame));
        ASSERT_EQ(run.status, 0) << run.out;
        const std::vector<std::string> rows = lines(run.out);
        ASSERT_EQ(rows.size(), 2U);
        EXPECT_NE(rows[1].find(c.contains), std::string::npos) << rows[1];
    }
}

TEST(PelixInfoTest, SummaryNamesWhatTheRecordingIs) {
    struct Case {
        const char* sample;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"RF_INCH_V7.BIN",
         {"Magic:             55 AA 55 AA", "Version:           7", "Units:             inch",
          "Velocity:          3230.0 m/s", "Rectification:     RF",
          "Display window:    start 0.039 in, range 3.937 in", "Evaluation mode:   TCG",
          "Frames:            400", "Rate:              10 frames/s", "Length:            40.00 s",
          "Flags:             3: frames 67, 200, 335"}},
        {"STRAIGHT_DGS.BIN",
         {"Magic:             55 AA 55 AA", "Units:             millimetre", "Velocity:          5920.0 m/s",
          "Rectification:     FULLWAVE", "Display window:    start 1.00 mm, range 60.00 mm",
          "Probe angle:       0.0°", "Evaluation mode:   DGS", "Frames:            500",
          "Length:            10.00 s"}},
        {"ENVELOPE_US.BIN",
         {"Units:             millimetre, readings in microseconds", "Rectification:     POS",
          "Frames:            300 (envelope)"}},
        // The header promises five flags; the frames carry two.
        {"FLAGS_MISMATCH.BIN", {"Flags:             2: frames 50, 151 (the recording's header counts 5)"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sample);
        const ToolRun run = pelix("info " + kSamples + c.sample);
        ASSERT_EQ(run.status, 0) << run.out;
        const std::vector<std::string> got = lines(run.out);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got[0], "File:              " + kSamples + c.sample);
        for (const std::string& line : c.lines)
            EXPECT_NE(std::find(got.begin(), got.end(), line), got.end()) << line << "\n" << run.out;
    }
}

// The field dump moved behind --fields unchanged, and --json stays as it was.
// A copy of the DGS sample with its EvalMode word (big-endian, setup offset 160) set.
std::string withEvalMode(const pelix::testing::TempFolder& dir, uint32_t word) {
    const std::string copy = dir.file("eval_" + std::to_string(word) + ".BIN");
    std::filesystem::copy_file(kSamples + "STRAIGHT_DGS.BIN", copy);
    std::fstream f(copy, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(160);
    for (const int shift : {24, 16, 8, 0})
        f.put(static_cast<char>((word >> shift) & 0xFF));
    return copy;
}

std::string summaryLine(const std::string& summary, const std::string& caption) {
    for (const std::string& line : lines(summary))
        if (line.rfind(caption + ":", 0) == 0)
            return line.substr(line.find_first_not_of(' ', caption.size() + 1));
    return {};
}

// EvalMode 0x101: the picture reads the whole word and draws no DGS curve (the same
// picture as mode 0), and the summary names what the picture shows, with the raw code.
TEST(PelixInfoTest, AnEvaluationWordWithHighBytesSetIsDescribedAsItIsDrawn) {
    const pelix::testing::TempFolder dir;
    const std::string dgs = withEvalMode(dir, 1), high = withEvalMode(dir, 0x101),
                      zero = withEvalMode(dir, 0);
    const auto ops = [&](const std::string& file) {
        const std::string out = dir.file("ops.json");
        const ToolRun run = pelix("render " + file + " 5 --ops " + out);
        EXPECT_EQ(run.status, 0) << run.out;
        std::ifstream in(out);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string drawnHigh = ops(high);
    EXPECT_EQ(drawnHigh, ops(zero));
    EXPECT_NE(drawnHigh, ops(dgs));

    EXPECT_EQ(summaryLine(pelix("info " + dgs).out, "Evaluation mode"), "DGS");
    const ToolRun info = pelix("info " + high);
    ASSERT_EQ(info.status, 0) << info.out;
    const std::string zeroMode = summaryLine(pelix("info " + zero).out, "Evaluation mode");
    EXPECT_TRUE(zeroMode == "TCG" || zeroMode == "DAC") << zeroMode;
    EXPECT_EQ(summaryLine(info.out, "Evaluation mode"), zeroMode + " (code 257)");
}

// The readings of a gate moved on such a recording are those of the curves on screen:
// the calculation library is handed the drawn family's code, not the word's low byte.
TEST(PelixInfoTest, AnEvaluationWordWithHighBytesSetIsMeasuredAsItIsDrawn) {
    const pelix::testing::TempFolder dir;
    const std::string dgs = withEvalMode(dir, 1), high = withEvalMode(dir, 0x101),
                      zero = withEvalMode(dir, 0);
    const auto readings = [&](const std::string& file) {
        const std::string out = dir.file("state.json");
        const ToolRun run = pelix("render " + file + " 5 --gate-a 12,30 --gate-b 40,20 --state " + out);
        EXPECT_EQ(run.status, 0) << run.out;
        std::ifstream in(out);
        const std::string state((std::istreambuf_iterator<char>(in)), {});
        const std::size_t from = state.find("\"readings\"");
        EXPECT_NE(from, std::string::npos);
        return from == std::string::npos ? std::string() : state.substr(from, state.find(']', from) - from);
    };
    const std::string measuredHigh = readings(high);
    EXPECT_EQ(measuredHigh, readings(zero));
    EXPECT_NE(measuredHigh, readings(dgs));
}

TEST(PelixInfoTest, FieldsAreTheFieldDumpAndExcludeJson) {
    const std::string file = kSamples + "RF_INCH_V7.BIN";
    const ToolRun fields = pelix("info " + file + " --fields");
    ASSERT_EQ(fields.status, 0) << fields.out;
    std::ifstream golden(std::string(PELIX_TOOLS_GOLDEN_DIR) + "/info_fields_RF_INCH_V7.txt");
    ASSERT_TRUE(golden.good());
    const std::string expected((std::istreambuf_iterator<char>(golden)), std::istreambuf_iterator<char>());
    EXPECT_EQ(fields.out, "File: " + file + "\n" + expected);

    const ToolRun both = pelix("info " + file + " --fields --json");
    EXPECT_EQ(both.status, 2);
    EXPECT_NE(both.out.find("--fields and --json exclude each other"), std::string::npos);
}

} // namespace
