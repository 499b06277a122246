// pelix render's search box and video range: what the window does with them,
// checked against pelix search and the frame numbers asked for.
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using pelix::testing::pelix;
using pelix::testing::ToolRun;

const std::string kSamples = PELIX_SAMPLES_DIR;

class PelixRenderCliTest : public ::testing::Test {
  protected:
    // Runs render with `--state` and returns the state file's text (empty when none was written).
    std::string state(const std::string& arguments, int expectedStatus = 0) {
        const std::string file = dir.file("state.json");
        std::remove(file.c_str());
        const ToolRun run = pelix("render " + arguments + " --state " + file);
        EXPECT_EQ(run.status, expectedStatus) << arguments << "\n" << run.out;
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    pelix::testing::TempFolder dir;
};

// The number after "name": in a JSON text.
double number(const std::string& json, const std::string& name) {
    const auto at = json.find("\"" + name + "\":");
    if (at == std::string::npos) return -1e9;
    return std::strtod(json.c_str() + at + name.size() + 3, nullptr);
}

// The object after "name": in a JSON text, up to its closing brace (no nested objects).
std::string object(const std::string& json, const std::string& name) {
    const auto at = json.find("\"" + name + "\":{");
    if (at == std::string::npos) return {};
    const auto from = at + name.size() + 3;
    return json.substr(from, json.find('}', from) - from + 1);
}

TEST_F(PelixRenderCliTest, TheSearchBoxGoesWhereAskedAndTheListIsWhatPelixSearchFinds) {
    const struct {
        std::string sample;
        int frame;
        std::string box;
        double left, right, low, high;
    } cases[] = {
        // Rectified: the flaw echoes of the first and third stretch of the plain scan.
        {"PLAIN_SCAN.BIN", 128, "150,230,88,100", 150, 230, 88, 100},
        // RF: the box lies in the upper half and its height counts from the centre line.
        {"RF_INCH_V7.BIN", 50, "150,250,50,90", 150, 250, 50, 90},
        // A box no echo reaches: the list says so.
        {"PLAIN_SCAN.BIN", 1, "700,790,90,100", 700, 790, 90, 100},
    };
    for (const auto& c : cases) {
        const std::string json =
            state(kSamples + "/" + c.sample + " " + std::to_string(c.frame) + " --search-box " + c.box);
        ASSERT_FALSE(json.empty()) << c.box;
        // The mouse places the box to a fraction of a unit; the top edge stops one twip below the picture's.
        const double left = number(json, "SearchLowwidthRange"), right = number(json, "SearchUpwidthRange");
        const double low = number(json, "SearchLowhightlimit"), high = number(json, "SearchUphightlimit");
        EXPECT_NEAR(left, c.left, 0.2) << c.box;
        EXPECT_NEAR(right, c.right, 0.2) << c.box;
        EXPECT_NEAR(low, c.low, 0.1) << c.box;
        EXPECT_NEAR(high, c.high, 0.1) << c.box;

        // The window searched with the limits its box gives, as pelix search does with the same numbers.
        std::ostringstream limits;
        limits.precision(17);
        limits << left << "," << right << "," << low << "," << high;
        const ToolRun search = pelix("search " + kSamples + "/" + c.sample + " --json --box " + limits.str());
        ASSERT_EQ(search.status, 0) << search.out;
        const std::string listed = search.out.substr(0, search.out.find_last_not_of('\n') + 1);
        EXPECT_NE(json.find("\"search\":" + listed), std::string::npos) << c.box << "\n" << listed;
        // The frame on screen is still the one asked for.
        EXPECT_NE(json.find("\"tiControlTitle\":\"" + std::to_string(c.frame) + "/"), std::string::npos);
    }
    EXPECT_NE(state(kSamples + "/PLAIN_SCAN.BIN 1 --search-box 700,790,90,100")
                  .find("\"entries\":[\"Not found.\"]"),
              std::string::npos);
}

TEST_F(PelixRenderCliTest, TheRangeEndsOnTheFrameShown) {
    const std::string scan = kSamples + "/PLAIN_SCAN.BIN ";
    // Ending on B, on A, and a range of one frame.
    for (const auto& [frame, range] :
         {std::pair{1400, "1100,1400"}, std::pair{1100, "1100,1400"}, std::pair{7, "7,7"}}) {
        const std::string json = state(scan + std::to_string(frame) + " --range " + range);
        const std::string r = range;
        const std::string start = r.substr(0, r.find(',')), end = r.substr(r.find(',') + 1);
        EXPECT_EQ(object(json, "aviRange"), "{\"startFrame\":" + start + ",\"endFrame\":" + end + "}")
            << range;
        EXPECT_NE(json.find("\"tiControlTitle\":\"" + std::to_string(frame) + "/3000"), std::string::npos)
            << range;
    }
    // Without the options the state holds neither.
    const std::string plain = state(scan + "5");
    EXPECT_EQ(plain.find("\"aviRange\""), std::string::npos);
    EXPECT_EQ(plain.find("\"search\""), std::string::npos);
}

TEST_F(PelixRenderCliTest, BadBoxesAndRangesAreUsageErrors) {
    const std::string scan = kSamples + "/PLAIN_SCAN.BIN ";
    const struct {
        std::string args;
        const char* says;
    } cases[] = {
        {"1200 --range 1100,1400", "A or B"},
        {"5 --range 5,3", "--range takes"},
        {"5 --range 5", "--range takes"},
        {"5 --range 0,5", "--range takes"},
        {"5 --range 5,3001", "outside 1..3000"},
        {"5 --search-box 1,2,3,4,5", "--search-box takes"},
        {"5 --search-box 0,800,20,10", "--search-box limits reversed"},
    };
    for (const auto& c : cases) {
        const ToolRun run = pelix("render " + scan + c.args + " -o " + dir.file("x.png"));
        EXPECT_EQ(run.status, 2) << c.args << "\n" << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << c.args << "\n" << run.out;
    }
}

// pelix search --box and pelix render --search-box read a box the same way: what one refuses
// the other refuses, and limits beyond the picture are clamped to it, as the window keeps its
// box inside, with a note naming the option.
TEST_F(PelixRenderCliTest, SearchAndRenderReadTheBoxAlike) {
    const std::string scan = kSamples + "/PLAIN_SCAN.BIN";
    const struct {
        const char* box;
        int status;
        const char* says;   // in the note or the usage error; nullptr: nothing to say
        const char* sameAs; // the box the search then uses
    } cases[] = {
        {"100,400,5,100", 0, nullptr, "100,400,5,100"},
        {"900,1000,10,20", 0,
         " 900,1000,10,20 reaches outside the picture (0..800, 0..100); the box is 800,800,10,20",
         "800,800,10,20"},
        {"-5,801,10,100.5", 0, " -5,801,10,100.5 reaches outside the picture", "0,800,10,100"},
        {"400,100,5,100", 2, " limits reversed in '400,100,5,100'", nullptr},
        {"100,400,90,10", 2, " limits reversed", nullptr},
        {"1,2,3", 2, " takes four numbers L,U,H1,H2, not '1,2,3'", nullptr},
        {"0,nan,10,20", 2, " takes four numbers", nullptr},
        {"0,+8,10,20", 2, " takes four numbers", nullptr},
    };
    for (const auto& c : cases) {
        for (const std::string option : {"--box", "--search-box"}) {
            const bool render = option == "--search-box";
            const std::string command = render ? "render" : "search";
            const ToolRun run =
                render ? pelix("render " + scan + " 1 --search-box " + c.box + " -o " + dir.file("x.png"))
                       : pelix("search " + scan + " --box " + c.box);
            EXPECT_EQ(run.status, c.status) << option << " " << c.box << "\n" << run.out;
            const std::string says = "pelix " + command + ": " + option + (c.says ? c.says : "");
            EXPECT_EQ(run.out.find(says) != std::string::npos, c.says != nullptr)
                << option << " " << c.box << "\n"
                << run.out;
            if (!render && c.sameAs) {
                const ToolRun same = pelix("search " + scan + " --box " + c.sameAs);
                EXPECT_NE(run.out.find(same.out), std::string::npos) << c.box << "\n" << run.out;
            }
        }
    }
}

} // namespace
