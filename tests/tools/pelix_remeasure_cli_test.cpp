// pelix readings and pelix overview with moved gates: every frame of the range
// measured again as the window measures the frame a user left the gates on,
// checked against pelix render N --state (the window's own handler) frame by frame.
#include "layout/record_layout.h"
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using pelix::testing::pelix;
using pelix::testing::ToolRun;

const std::string kSamples = PELIX_SAMPLES_DIR;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The array after "name": up to its closing bracket (its objects hold no arrays).
std::string arrayAfter(const std::string& json, const std::string& name, std::size_t from = 0) {
    const auto at = json.find("\"" + name + "\":[", from);
    if (at == std::string::npos) return {};
    const auto open = at + name.size() + 3;
    return json.substr(open, json.find(']', open) - open + 1);
}

// The value text of panel row `row` in a render state.
std::string panelValue(const std::string& state, int row) {
    const auto at = state.find("{\"row\":" + std::to_string(row) + ",");
    const auto value = state.find("\"value\":{\"text\":\"", at);
    if (at == std::string::npos || value == std::string::npos) return {};
    const auto from = value + 17;
    return state.substr(from, state.find('"', from) - from);
}

class PelixRemeasureCliTest : public ::testing::Test {
  protected:
    std::string renderState(const std::string& file, int frame, const std::string& gates) {
        const std::string out = dir.file("state.json");
        std::remove(out.c_str());
        const ToolRun run =
            pelix("render " + file + " " + std::to_string(frame) + " " + gates + " --state " + out);
        EXPECT_EQ(run.status, 0) << run.out;
        return readText(out);
    }

    // A copy of a sample whose gate B is set relative to gate A's echo.
    std::string gateBRelativeCopy() {
        std::string bytes = readText(kSamples + "/PLAIN_SCAN.BIN");
        const std::string path = dir.file("RELATIVE.BIN");
        pelix::layout::write(reinterpret_cast<uint8_t*>(bytes.data()), pelix::layout::setup::GateBRelative,
                             1);
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    pelix::testing::TempFolder dir;
};

// Every row equals the readings the window shows on that frame with the gates
// left there: names, texts, held marks, numbers and units.
TEST_F(PelixRemeasureCliTest, EveryRowIsWhatRenderShowsWithTheGatesMoved) {
    struct Case {
        std::string file;
        std::string gates;
        int from, to;
    };
    const std::vector<Case> cases = {
        {kSamples + "/PLAIN_SCAN.BIN", "--gate-a 10,30 --gate-b 40,20", 5, 7},    // envelope-free, mm
        {kSamples + "/PLAIN_SCAN.BIN", "--gate-b 30,15", 40, 41},                 // gate B alone
        {kSamples + "/RF_INCH_V7.BIN", "--gate-a 0.5,30 --gate-b 1.5,-20", 2, 4}, // RF, inch
        {kSamples + "/ENVELOPE_US.BIN", "--gate-a 10,30 --gate-b 30,20", 3, 5},   // envelope, µs
        {gateBRelativeCopy(), "--gate-a 10,30 --gate-b 20,20", 5, 6},             // gate B relative
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file + " " + c.gates);
        const ToolRun table = pelix("readings " + c.file + " --json --from " + std::to_string(c.from) +
                                    " --to " + std::to_string(c.to) + " " + c.gates);
        ASSERT_EQ(table.status, 0) << table.out;
        std::size_t at = 0;
        for (int frame = c.from; frame <= c.to; ++frame) {
            at = table.out.find("{\"Frame\":" + std::to_string(frame) + ",", at);
            ASSERT_NE(at, std::string::npos) << frame;
            const std::string row = arrayAfter(table.out, "readings", at);
            const std::string shown = arrayAfter(renderState(c.file, frame, c.gates), "readings");
            ASSERT_FALSE(shown.empty());
            EXPECT_EQ(row, shown) << "frame " << frame;
        }
    }
}

// The text and CSV tables carry the same re-measured values, marked held alike.
TEST_F(PelixRemeasureCliTest, TextAndCsvTellTheSameReadings) {
    const std::string file = kSamples + "/RF_INCH_V7.BIN --from 3 --to 3 --gate-a 0.5,30 --gate-b 1.5,-20";
    const ToolRun text = pelix("readings " + file);
    const ToolRun csv = pelix("readings " + file + " --csv");
    ASSERT_EQ(text.status, 0);
    ASSERT_EQ(csv.status, 0);
    EXPECT_NE(text.out.find("SB^= 0.000in*"), std::string::npos) << text.out;
    EXPECT_NE(csv.out.find(",SB^=,0.000in,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find(",0,in,1,"), std::string::npos) << csv.out;
}

// The moved gate's series is what panel row 9 (gate A) or 14 (gate B) shows
// after the re-measure; the other gate keeps its recorded series.
TEST_F(PelixRemeasureCliTest, TheOverviewSeriesIsTheRemeasuredAmplitude) {
    const std::string file = kSamples + "/RF_INCH_V7.BIN";
    const ToolRun recorded = pelix("overview " + file + " --json");
    const ToolRun moved = pelix("overview " + file + " --json --gate-a 0.5,30");
    ASSERT_EQ(recorded.status, 0);
    ASSERT_EQ(moved.status, 0) << moved.out;
    EXPECT_EQ(recorded.out.find("Remeasured"), std::string::npos);
    EXPECT_NE(moved.out.find("\"Remeasured\": [\"A\"]}"), std::string::npos);
    EXPECT_EQ(arrayAfter(moved.out.substr(0), "GateBAmplitude"), arrayAfter(recorded.out, "GateBAmplitude"));
    // "GateAAmplitude": [..] has a space after the colon.
    const auto series = [](const std::string& json, const std::string& name) {
        const auto at = json.find("\"" + name + "\": [");
        std::vector<std::string> values;
        std::stringstream list(json.substr(at + name.size() + 5, json.find(']', at) - at - name.size() - 5));
        for (std::string v; std::getline(list, v, ',');)
            values.push_back(v);
        return values;
    };
    const std::vector<std::string> a = series(moved.out, "GateAAmplitude");
    ASSERT_EQ(a.size(), 400U);
    EXPECT_NE(a, series(recorded.out, "GateAAmplitude"));
    for (const int frame : {1, 3, 200, 400})
        EXPECT_EQ(a[static_cast<std::size_t>(frame - 1)],
                  panelValue(renderState(file, frame, "--gate-a 0.5,30"), 9))
            << "frame " << frame;

    const ToolRun both = pelix("overview " + file + " --json --gate-a 0.5,30 --gate-b 1.5,-20");
    EXPECT_NE(both.out.find("\"Remeasured\": [\"A\", \"B\"]}"), std::string::npos);
    EXPECT_EQ(series(both.out, "GateBAmplitude")[2],
              panelValue(renderState(file, 3, "--gate-a 0.5,30 --gate-b 1.5,-20"), 14));
}

// A DGS recording's dB-to-reference and ERS readings lean on the library's DGS state, which the
// window sets up as it draws the DGS curves: the table sets it up alike and gives the same rows.
TEST_F(PelixRemeasureCliTest, ADgsRecordingGivesTheWindowsReferenceReadings) {
    for (const char* name :
         {"STRAIGHT_DGS.BIN", "DGS_BACKWALL.BIN", "DGS_DISC_OWN_DIAGRAM.BIN", "DGS_HOLE_LISTED_PROBE.BIN"}) {
        SCOPED_TRACE(name);
        const std::string file = kSamples + "/" + name;
        const std::string gates = "--gate-a 10,30";
        const ToolRun table = pelix("readings " + file + " --json --from 3 --to 4 " + gates);
        ASSERT_EQ(table.status, 0) << table.out;
        EXPECT_EQ(table.out.find("stay empty"), std::string::npos) << table.out;
        std::size_t at = 0;
        for (int frame = 3; frame <= 4; ++frame) {
            at = table.out.find("{\"Frame\":" + std::to_string(frame) + ",", at);
            ASSERT_NE(at, std::string::npos) << frame;
            EXPECT_EQ(arrayAfter(table.out, "readings", at),
                      arrayAfter(renderState(file, frame, gates), "readings"))
                << "frame " << frame;
        }
    }
    // The recording the table once left without its reference readings now has one: a dB value.
    const ToolRun hole =
        pelix("readings " + kSamples + "/DGS_HOLE_LISTED_PROBE.BIN --from 3 --to 3 --gate-a 10,30");
    EXPECT_EQ(hole.status, 0);
    EXPECT_NE(hole.out.find("A%A= 68%"), std::string::npos) << hole.out;
}

// Frames are measured and formatted on every core: the table of a long range is the tables of
// its pieces one after the other, across the boundaries of the workers' batches.
TEST_F(PelixRemeasureCliTest, ALongTableIsItsPiecesInFrameOrder) {
    const std::string file = kSamples + "/PLAIN_SCAN.BIN";
    const auto rowsOf = [](const std::string& csv) { return csv.substr(csv.find('\n') + 1); };
    for (const std::string gates : {"", " --gate-a 10,30"}) {
        SCOPED_TRACE(gates);
        const ToolRun whole = pelix("readings " + file + " --csv --from 400 --to 2900" + gates);
        ASSERT_EQ(whole.status, 0) << whole.out;
        std::string pieces;
        for (const auto& [from, to] : {std::pair{400, 911}, std::pair{912, 2447}, std::pair{2448, 2900}}) {
            const ToolRun piece = pelix("readings " + file + " --csv --from " + std::to_string(from) +
                                        " --to " + std::to_string(to) + gates);
            ASSERT_EQ(piece.status, 0) << piece.out;
            pieces += rowsOf(piece.out);
        }
        EXPECT_EQ(rowsOf(whole.out), pieces);
        EXPECT_EQ(std::count(pieces.begin(), pieces.end(), '\n'), 2501);
    }
    // JSON rows stay one array, separated by commas, whatever batch a row came in.
    const ToolRun json = pelix("readings " + file + " --json --from 1 --to 3000 --gate-b 30,15");
    ASSERT_EQ(json.status, 0);
    EXPECT_EQ(json.out.find("[,"), std::string::npos);
    EXPECT_EQ(json.out.find(",,"), std::string::npos);
    EXPECT_NE(json.out.find("\"Rows\":[\n{\"Frame\":1,"), std::string::npos);
    EXPECT_NE(json.out.find("},\n{\"Frame\":3000,"), std::string::npos);
}

TEST_F(PelixRemeasureCliTest, BadGatesAreUsageErrorsNamingTheOption) {
    const std::string file = kSamples + "/PLAIN_SCAN.BIN";
    struct Case {
        std::string args;
        int status;
        std::string said;
    };
    const std::vector<Case> cases = {
        {"readings " + file + " --gate-a 10", 2, "--gate-a takes START,THRESH"},
        {"readings " + file + " --gate-b 10,101", 2, "--gate-b takes START,THRESH"},
        {"readings " + file + " --gate-a nan,20", 2, "--gate-a takes START,THRESH"},
        {"readings " + file + " --gate-a 10,20 --to 3001", 2, "not within"},
        {"overview " + file + " --json --gate-b ,20", 2, "--gate-b takes START,THRESH"},
        {"overview " + file + " -o " + dir.file("x.png") + " --gate-a 10,20", 2, "not -o"},
        {"readings " + dir.file("missing.BIN") + " --gate-a 10,20", 3, ""},
    };
    for (const Case& c : cases) {
        const ToolRun run = pelix(c.args);
        EXPECT_EQ(run.status, c.status) << c.args << "\n" << run.out;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << c.args << "\n" << run.out;
    }
}

} // namespace
