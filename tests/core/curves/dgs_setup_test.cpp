// The DGS set-up the readings share with the control's DGS curves: the block
// each setting lands in, the settings the library is never given, and the
// calls that leave the library's DGS state as a drawing of the curves does.
#include "core/curves/dgs_setup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelix::curves {
namespace {

// A plausible DGS setup: probe row 3, a disc reference, the curves shown.
DgsSettings shownCurves() {
    DgsSettings s;
    s.ProbeDelay = 1234;
    s.ttVelocity = 59200.0;
    s.DGSMode = 1;
    s.DGSRefStatus = 1;
    s.DGSProbeNum = 3;
    s.DGSCurve = 2000;
    s.DGSRefAmp = 800;
    s.DGSBaseGain = 400;
    s.FilterSetup = 0;
    s.ttDisplayDelay = 0;
    s.ttDisplayRange = 100000.0;
    return s;
}

std::vector<std::string> g_calls;
int32_t g_ersPoints = 12;

int32_t fakeErsPoints(int32_t* block, DGSPoint*) {
    g_calls.push_back("ers " + std::to_string(block[PELIX_DGS_ERS / 4]));
    return g_ersPoints;
}
void fakeNearFields(int32_t*) {
    g_calls.emplace_back("near");
}
void fakeReference(int32_t*) {
    g_calls.emplace_back("reference");
}
int32_t fakeConvert(int32_t*, DGSPoint*) {
    g_calls.emplace_back("convert");
    return 0;
}
const DgsExports kFake{fakeErsPoints, fakeNearFields, fakeReference, fakeConvert};

TEST(DgsSetupTest, EachSettingLandsInItsWordOfTheBlock) {
    DgsSettings s = shownCurves();
    s.ttVelocity = 59200.5; // halves to even, as the instrument converts
    s.DGSXtalFreq = 400;
    s.DGSEffeDiam = 10000;
    s.DGSRefDist = 50000;
    s.DGSRefGain = 250;
    const std::optional<DgsBlock> block = dgsBlock(s);
    ASSERT_TRUE(block);
    const auto word = [&](std::size_t offset) { return (*block)[offset / 4]; };
    EXPECT_EQ(word(PELIX_DGS_PROBE_DELAY), 1234);
    EXPECT_EQ(word(PELIX_DGS_VELOCITY), 59200);
    EXPECT_EQ(word(PELIX_DGS_PROBE_NUM), 3);
    EXPECT_EQ(word(PELIX_DGS_ERS), 2000);
    EXPECT_EQ(word(PELIX_DGS_XTAL_FREQ), 400);
    EXPECT_EQ(word(PELIX_DGS_EFFE_DIAM), 10000);
    EXPECT_EQ(word(PELIX_DGS_REF_DIST), 50000);
    EXPECT_EQ(word(PELIX_DGS_REF_AMP), 800);
    EXPECT_EQ(word(PELIX_DGS_BASE_GAIN), 400);
    EXPECT_EQ(word(PELIX_DGS_REF_GAIN), 250);
    // The convert word stays 0: the ERS request never converts on its own.
    EXPECT_EQ(word(PELIX_DGS_CONVERT), 0);
}

TEST(DgsSetupTest, TheCallsFollowWhatTheCurveDrawingWouldReach) {
    struct Case {
        const char* what;
        void (*change)(DgsSettings&);
        int32_t ersPoints;
        std::vector<std::string> calls;
    };
    const std::vector<std::string> converted = {"ers 2000", "near", "reference", "convert"};
    const std::vector<Case> cases = {
        {"curves shown", [](DgsSettings&) {}, 12, converted},
        {"no catalogue row", [](DgsSettings& s) { s.DGSProbeNum = 41; }, 12, {}},
        {"negative catalogue row", [](DgsSettings& s) { s.DGSProbeNum = -1; }, 12, {}},
        {"no reference echo", [](DgsSettings& s) { s.DGSRefAmp = 0; }, 12, {}},
        {"velocity beyond a long", [](DgsSettings& s) { s.ttVelocity = 3e9; }, 12, {}},
        {"curves not shown", [](DgsSettings& s) { s.DGSMode = 0; }, 12, {"ers 2000"}},
        {"no ERS curve", [](DgsSettings&) {}, 0, {"ers 2000"}},
        {"unknown filter", [](DgsSettings& s) { s.FilterSetup = 12; }, 12, {"ers 2000"}},
        {"filter in the upper bits only", [](DgsSettings& s) { s.FilterSetup = 0x35; }, 12, converted},
        {"no velocity to divide by", [](DgsSettings& s) { s.ttVelocity = 0.0; }, 12, {"ers 2000"}},
        // The sweep starts before the library's earliest time but its last column reaches it.
        {"window reaching in", [](DgsSettings& s) { s.ttDisplayDelay = -40000; }, 12, converted},
        {"window wholly before",
         [](DgsSettings& s) {
             s.ttDisplayDelay = -400000;
             s.ttDisplayRange = 1000.0;
         },
         12,
         {"ers 2000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DgsSettings s = shownCurves();
        c.change(s);
        g_calls.clear();
        g_ersPoints = c.ersPoints;
        setUpDgsState(s, kFake);
        EXPECT_EQ(g_calls, c.calls);
    }
    // Without every export nothing is called.
    g_calls.clear();
    DgsExports partial = kFake;
    partial.DGSEvaluateReference = nullptr;
    EXPECT_FALSE(setUpDgsState(shownCurves(), partial));
    EXPECT_TRUE(g_calls.empty());
}

} // namespace
} // namespace pelix::curves
