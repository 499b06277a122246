// DAC, JIS, CN and TCG curves on the operation list: geometry, colours,
// labels, clipping and the rules that end a family.
#include "curve_fixture.h"

#include "ascanview/curves/evaluation_curve_drawer.h"
#include "ascanview/render/label_text.h"

#include <cmath>

using namespace pelix::ascanview;

namespace {

using pelix::ascanview::kCurveBlue;
using pelix::ascanview::kCurveRed;

class DacCurveTest : public CurveTest {};

// ---- Dispatch ----------------------------------------------------------------

struct DispatchCase {
    const char* name;
    int evalMode;
    int rectMode;
    bool drawn;
};

class DispatchTest : public DacCurveTest, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(DispatchTest, EvaluationModeAndRectificationChooseWhetherCurvesAppear) {
    const DispatchCase& c = GetParam();
    straightDacMode();
    set("JISDACMode", 1);
    set("CNDACRegs", 1 | 4);
    setPoints({{50, 500}, {250, 200}});
    set("EvalMode", c.evalMode);
    set("iAscanRectMode", c.rectMode);
    redraw();
    EXPECT_EQ(!curveSegments().empty(), c.drawn);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DispatchTest,
    ::testing::Values(DispatchCase{"DacRectified", 0, 0, true}, DispatchCase{"DacRf", 0, 1, false},
                      DispatchCase{"AboveFiveIsDac", 9, 0, true}, DispatchCase{"Mode2", 2, 0, false},
                      DispatchCase{"Mode3", 3, 0, false}, DispatchCase{"JisInRf", 4, 1, true},
                      DispatchCase{"CnInRf", 5, 1, true}, DispatchCase{"Negative", -1, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Straight DAC --------------------------------------------------------------

TEST_F(DacCurveTest, StraightPiecesRunFromTimeZeroThroughEveryPointWithFifteenStrokes) {
    straightDacMode();
    setPoints({{50, 500}, {250, 250}});
    redraw();
    const auto segs = curveSegments();
    ASSERT_EQ(segs.size(), 30U);
    // Level from time 0 to the first point (620 ns), then down to the second (4620 ns).
    expectLine(segs[0], 0, 200, 620 / 5.0, 200);
    expectLine(segs[14], 0, 214, 620 / 5.0, 214);
    expectLine(segs[15], 620 / 5.0, 200, 4620 / 5.0, 300);
    EXPECT_TRUE(labels().empty()); // the reference curve carries no label
}

TEST_F(DacCurveTest, PieceStartingAboveTheScreenIsDrawnFromItsCrossing) {
    blankPicture();
    // 0.1 % amplitudes 1500 and 500 at a gain ratio of 1: 600 and 200 screen steps.
    QVariantList args{1620,    1500.0, 3620, 500.0, 0,   1000.0, 1000.0, int(kCurveRed),
                      10000.0, 0.0,    1,    0.0,   0.0, 0.0,    0.0};
    const QVariantList out = ctl.DrawStraightDACSeg(args);
    const auto segs = curveSegments();
    ASSERT_EQ(segs.size(), 1U);
    expectLine(segs[0], 524, 0, 724, 200);
    EXPECT_EQ(out[0].toInt(), 2620); // the clipped early time comes back
    EXPECT_EQ(out[2].toInt(), 3620);
    EXPECT_EQ(out[11].toDouble(), 1.0);
    EXPECT_DOUBLE_EQ(out[12].toDouble(), 400.0);
    EXPECT_DOUBLE_EQ(out[13].toDouble(), 524.0);
    EXPECT_DOUBLE_EQ(ctl.curveState().dacLabelCapture.x, 524.0);

    // Wholly above the screen: nothing drawn, nothing written back.
    args[3] = 1200.0;
    EXPECT_EQ(ctl.DrawStraightDACSeg(args), args);
    EXPECT_EQ(curveSegments().size(), 1U);
}

TEST_F(DacCurveTest, PieceIsCutAtBothEdgesOfTheWindow) {
    blankPicture();
    // From -1000 ns to 6000 ns, 0.1 % 500 to 150: the window shows 0..5000 ns.
    const QVariantList out = ctl.DrawStraightDACSeg(
        {-1000, 500.0, 6000, 150.0, 0, 1000.0, 1000.0, int(kCurveRed), 10000.0, 0.0, 1, 0.0, 0.0, 0.0, 0.0});
    const auto segs = curveSegments();
    ASSERT_EQ(segs.size(), 1U);
    // Screen amplitude 200 falling 0.02 a ns: 180 at 0 ns and 80 at 5000 ns.
    expectLine(segs[0], 0, 400 - 180, 1000, 400 - 80);
    EXPECT_EQ(out[0].toInt(), 0);
    EXPECT_EQ(out[2].toInt(), 5000);
}

TEST_F(DacCurveTest, LabelNeedsMoreThanTenPercentAndRoomOnTheRight) {
    straightDacMode();
    struct Case {
        std::vector<std::pair<int, int>> points;
        bool labelled;
    } cases[] = {
        {{{50, 100}, {250, 100}}, false},    // 40 steps: exactly 10 %
        {{{50, 101}, {250, 101}}, true},     // just above
        {{{100, 20000}, {260, 500}}, false}, // first on screen where it crosses the top, at x 947
        {{{100, 5000}, {260, 500}}, true},   // crossing at x 893
    };
    for (const Case& c : cases) {
        setPoints(c.points);
        blankPicture();
        ctl.DrawStraightDAC(0, 1, QStringLiteral("X"), 0);
        EXPECT_EQ(labels().size(), c.labelled ? 1U : 0U) << c.points[0].second;
    }
}

TEST_F(DacCurveTest, LabelSitsTenUnitsRightAndBelowTheFirstPointInRed) {
    straightDacMode();
    setPoints({{50, 500}, {250, 250}});
    set("Curve1Offset", -60);
    redraw();
    const auto texts = ops(SurfaceOpKind::Text, kCurveRed);
    ASSERT_EQ(texts.size(), 1U);
    EXPECT_EQ(ctl.surface().textOf(texts[0]).text, "-6.0dB");
    EXPECT_DOUBLE_EQ(texts[0].x1, 10.0);
    EXPECT_NEAR(texts[0].y1, 400 - 200 * std::pow(10.0, -0.3) + 10.0, 1e-9);
    EXPECT_DOUBLE_EQ(ctl.surface().textOf(texts[0]).size, 7.0);
    EXPECT_EQ(ctl.surface().foreground(), rgb(0, 0, 0));
}

TEST_F(DacCurveTest, WhileRecordingASinglePointDrawsNothingAndTwoDrawOnlyTheReference) {
    straightDacMode();
    set("TCGCurveStatus", 1);
    set("Curve1Offset", -60);
    setPoints({{50, 500}});
    redraw();
    EXPECT_TRUE(curveSegments().empty());
    setPoints({{50, 500}, {250, 250}});
    redraw();
    EXPECT_EQ(curveSegments().size(), 30U);
    curvedDacMode();
    set("TCGCurveStatus", 1);
    setPoints({{50, 500}});
    redraw();
    EXPECT_TRUE(curveSegments().empty());
}

TEST_F(DacCurveTest, BeaColoursTheStraightCurveInsideGateBAndFollowsItsGain) {
    straightDacMode();
    setPoints({{50, 500}, {250, 500}});
    set("BEA", 1);
    set("BWGain", 460); // +6 dB inside gate B
    set("fGateBStart", 40.0);
    set("fGateBWidth", 20.0); // columns 400..600
    redraw();
    const auto blue = curveSegments(kCurveBlue);
    ASSERT_EQ(blue.size(), 15U);
    const double raised = 400 - 200 * std::pow(10.0, 0.3);
    // From the gate's first time (5 * 401 ns) to just before its last (5 * 601 - 1 ns).
    expectLine(blue[0], 401, raised, 2999 / 5.0, raised);
    const auto red = curveSegments();
    ASSERT_EQ(red.size(), 45U); // level lead-in, then red before and after the gate
    expectLine(red[15], 124, 200, 1999 / 5.0, 200);
    expectLine(red[30], 601, 200, 4620 / 5.0, 200);
    EXPECT_EQ(ctl.dragState().gateBPixelStart, 400);
    EXPECT_EQ(ctl.dragState().gateBPixelEnd, 600);

    set("BEA", 0);
    redraw();
    EXPECT_TRUE(curveSegments(kCurveBlue).empty());
}

// ---- Curved DAC ------------------------------------------------------------------

TEST_F(DacCurveTest, CurvedDacFollowsTheAkimaCurveColumnByColumn) {
    curvedDacMode();
    setPoints({{50, 500}, {150, 300}, {250, 200}});
    redraw();
    const auto segs = curveSegments();
    ASSERT_FALSE(segs.empty());
    // Before the first point the curve is level at point 0's amplitude; a
    // falling stroke runs from the previous y down by the thickness.
    expectLine(segs[10], 9, 200, 10, 214);
    // The knots lie at 20 ns x the point's count and the columns carry the
    // filter delay: column 524 is the second point's 3000 ns, and the next
    // stroke starts from its height.
    const auto at525 =
        std::find_if(segs.begin(), segs.end(), [](const SurfaceOp& op) { return op.x2 == 525; });
    ASSERT_NE(at525, segs.end());
    EXPECT_NEAR(at525->y1, 400 - 0.4 * 300, 1e-3);
    // The curve ends at the last point, 5000 ns (column 924).
    EXPECT_EQ(segs.back().x2, 924);
    EXPECT_EQ(segs.size(), 925U);
}

TEST_F(DacCurveTest, CurvedDacRunsAlongTheTopWhereItExceedsFullHeight) {
    curvedDacMode();
    setPoints({{50, 1500}, {250, 1500}});
    redraw();
    const auto segs = curveSegments();
    ASSERT_FALSE(segs.empty());
    for (const SurfaceOp& op : segs)
        EXPECT_EQ(op.y1, 0.0);
}

TEST_F(DacCurveTest, BeaColoursTheCurvedColumnsInsideGateBAndLeavesItsEndColumnEmpty) {
    curvedDacMode();
    setPoints({{50, 500}, {250, 500}});
    set("BEA", 1);
    set("fGateBStart", 40.0);
    set("fGateBWidth", 20.0);
    redraw();
    const auto blue = curveSegments(kCurveBlue);
    ASSERT_EQ(blue.size(), 201U);
    EXPECT_EQ(blue.front().x2, 400);
    EXPECT_EQ(blue.back().x2, 600);
    for (const SurfaceOp& op : curveSegments())
        EXPECT_NE(op.x2, 601);
}

// ---- JIS and CN --------------------------------------------------------------------

class JisTest : public DacCurveTest {
  protected:
    void SetUp() override {
        DacCurveTest::SetUp();
        set("EvalMode", 4);
        set("TCGCurveStatus", 2);
        set("JISDACMode", 1);
        setOffsets({-120, -60, 60, 120, 180});
        // High at the start and falling, so every curve reaches the screen.
        setPoints({{50, 500}, {250, 50}});
    }
    void setOffsets(const std::vector<int>& offsets) {
        const char* names[] = {"Curve1Offset", "Curve2Offset", "Curve3Offset", "Curve4Offset",
                               "Curve5Offset"};
        for (std::size_t k = 0; k < offsets.size(); ++k)
            set(names[k], offsets[k]);
    }
};

TEST_F(JisTest, StandardSetIsLabelledLMAndHUntilOneOffsetChanges) {
    redraw();
    EXPECT_EQ(labels(), (std::vector<std::string>{"L", "M", "H"}));
    set("Curve4Offset", 121);
    redraw();
    EXPECT_EQ(labels(), (std::vector<std::string>{"-12.0dB", "-6.0dB", "+6.0dB", "+12.1dB", "+18.0dB"}));
}

TEST_F(JisTest, BoldLineFollowsTheCurveTheReadingsReferTo) {
    setPoints({{250, 100}}); // one level piece per curve, all on screen
    struct Case {
        int bold;
        std::vector<int> strokes; // curves 1..5, then the reference
    } cases[] = {{0, {1, 1, 1, 1, 1, 15}},
                 {1, {1, 15, 1, 1, 1, 1}},
                 {2, {15, 1, 1, 1, 1, 1}},
                 {3, {1, 1, 1, 1, 1, 15}},
                 {5, {1, 15, 1, 1, 1, 1}}}; // the low two bits count, as in the readings
    for (const Case& c : cases) {
        set("JISBoldLine", c.bold);
        redraw();
        const auto segs = curveSegments();
        ASSERT_EQ(segs.size(), 20U) << c.bold;
        // The strokes of one curve step down one unit each.
        std::vector<int> counts(1, 1);
        for (std::size_t i = 1; i < segs.size(); ++i) {
            if (segs[i].y1 == segs[i - 1].y1 + 1)
                ++counts.back();
            else
                counts.push_back(1);
        }
        EXPECT_EQ(counts, c.strokes) << c.bold;
    }
    // Outside the standard set the reference is bold whatever the bold line says.
    set("Curve5Offset", 170);
    set("JISBoldLine", 1);
    redraw();
    EXPECT_EQ(curveSegments().size(), 20U);
    EXPECT_EQ(curveSegments().back().y1, curveSegments()[5].y1 + 14);
}

TEST_F(DacCurveTest, CurveFiveIsDrawnByJisOnly) {
    setPoints({{250, 100}});
    set("Curve5Offset", 100);
    set("JISDACMode", 1);
    straightDacMode();
    redraw();
    EXPECT_EQ(curveSegments().size(), 15U);
    EXPECT_TRUE(labels().empty());
    set("EvalMode", 4);
    redraw();
    EXPECT_EQ(curveSegments().size(), 16U);
    EXPECT_EQ(labels(), (std::vector<std::string>{"+10.0dB"}));
    set("EvalMode", 0);
    set("TCGMode", 1);
    set("TCGDisplay", 1);
    redraw();
    EXPECT_EQ(curveSegments().size(), 16U); // the reference line alone
}

TEST_F(DacCurveTest, CnLinesAreLabelledAndTheReferenceFollowsBitTwo) {
    set("EvalMode", 5);
    set("TCGCurveStatus", 2);
    setPoints({{50, 500}, {250, 400}});
    set("Curve1Offset", -40);
    set("Curve2Offset", 0); // drawn although 0
    set("Curve3Offset", 40);
    set("CNDACRegs", 1);
    redraw();
    EXPECT_EQ(labels(), (std::vector<std::string>{"RL", "SL", "EL"}));
    EXPECT_EQ(curveSegments().size(), 6U);
    set("CNDACRegs", 1 | 4);
    redraw();
    EXPECT_EQ(curveSegments().size(), 6U + 30U);
    set("CNDACRegs", 1 | 4 | 8);
    redraw();
    EXPECT_EQ(labels(), (std::vector<std::string>{"RL", "SL", "EL"}));
    EXPECT_GT(curveSegments().size(), 800U); // curved: a stroke per column
    set("CNDACRegs", 2 | 4);
    redraw();
    EXPECT_TRUE(curveSegments().empty());
}

// ---- TCG reference lines ----------------------------------------------------------

TEST_F(DacCurveTest, TcgReferenceLineHasSixteenStrokesCutAtTheWindowEdges) {
    set("EvalMode", 0);
    set("TCGMode", 1);
    set("TCGCurveStatus", 2);
    set("TCGDisplay", 1);
    // 4 * 10 - 76 steps lies before the window, 4 * 400 - 76 after it.
    setPoints({{10, 500}, {400, 300}});
    set("Curve1Offset", -60);
    redraw();
    const auto segs = curveSegments();
    ASSERT_EQ(segs.size(), 2U + 16U);
    const double offsetY = kH + 30 - 50 * std::pow(10.0, -0.3) / 100 * kH;
    expectLine(segs[0], 0, offsetY, kW, offsetY);
    for (int i = 0; i < 16; ++i)
        expectLine(segs[2 + i], 0, 230 + i, kW, 230 + i);
    // The -6 dB line stands at 25 %, below the 40 % a label needs.
    EXPECT_TRUE(labels().empty());
    set("Curve1Offset", 60);
    redraw();
    EXPECT_EQ(labels(), (std::vector<std::string>{"+6.0dB"}));
}

// ---- What ends a family ------------------------------------------------------------

TEST_F(DacCurveTest, FaultsEndTheFamilyKeepingWhatWasDrawn) {
    straightDacMode();
    setPoints({{50, 500}, {250, 250}});
    set("Curve1Offset", -60);
    set("Curve2Offset", 2147483647); // a gain ratio beyond any number
    set("Curve3Offset", 60);
    redraw();
    EXPECT_EQ(curveSegments().size(), 2U); // curve 1 only

    set("Curve2Offset", 0);
    for (const int filter : {10, 15, 0x1A}) {
        set("FilterSetup", filter);
        redraw();
        EXPECT_TRUE(curveSegments().empty()) << filter;
    }
    set("FilterSetup", 0x15); // bits 0-3 select filter 5
    redraw();
    EXPECT_FALSE(curveSegments().empty());
    set("FilterSetup", 0);

    // More points than the arrays hold: curve 1 ends at its third piece, and the family with it.
    set("ulNumOfStoredPoints", 5);
    redraw();
    EXPECT_EQ(curveSegments().size(), 2U);

    setPoints(std::vector<std::pair<int, int>>(17, {50, 500}));
    redraw();
    EXPECT_TRUE(curveSegments().empty());
    set("ulNumOfStoredPoints", -3);
    redraw();
    EXPECT_TRUE(curveSegments().empty());
}

TEST_F(DacCurveTest, TwoPointsAtOneTimeEndTheStraightCurveAtThatPiece) {
    straightDacMode();
    setPoints({{50, 500}, {50, 300}, {250, 200}});
    redraw();
    EXPECT_EQ(curveSegments().size(), 15U); // the lead-in only
}

TEST_F(DacCurveTest, MissingLibraryLeavesTheCurvesUndrawn) {
    pelix::ascanview::CurveState state;
    GateDragState drag;
    ControlProperties props = ctl.properties();
    DrawingSurface surface;
    surface.setScale(kW, kH);
    const pelix::ascanview::CalExports none;
    pelix::ascanview::EvaluationCurveDrawer drawer(props, drag, surface, state, none);
    props.EvalMode = 0;
    props.TCGMode = 2;
    props.TCGCurveStatus = 2;
    props.DACCurveType = 1;
    props.ulNumOfStoredPoints = 2;
    props.ulHardwareTOF_20ns.assign(std::vector<std::int32_t>{50, 250});
    EXPECT_FALSE(drawer.updateEvaluationCurve());
    props.EvalMode = 1;
    props.DGSMode = 1;
    EXPECT_FALSE(drawer.updateEvaluationCurve());
    EXPECT_TRUE(surface.ops().empty());
}

// ---- Label texts ---------------------------------------------------------------------

TEST(CurveLabelText, DecibelAndFixedFormatsRoundHalfAwayAsTheDecimalReads) {
    struct Case {
        double value;
        const char* decibels;
    } cases[] = {{6.0, "+6.0dB"},  {-12.0, "-12.0dB"}, {0.5, "+.5dB"},   {0.0, ".0dB"},
                 {-0.25, "-.3dB"}, {1.05, "+1.1dB"},   {12.1, "+12.1dB"}};
    for (const Case& c : cases)
        EXPECT_EQ(formatDecibelLabel(c.value).toStdString(), c.decibels) << c.value;
    EXPECT_EQ(formatFixedDecimals(2000 / 25400.0, 3, true).toStdString(), "0.079");
    EXPECT_EQ(formatFixedDecimals(0.0005, 3, true).toStdString(), "0.001");
    EXPECT_EQ(formatFixedDecimals(9.9996, 3, true).toStdString(), "10.000");
    EXPECT_EQ(formatFixedDecimals(2.0, 2, true).toStdString(), "2.00");
    // A value that rounds to zero shows no sign; without the whole digit "0.5" is ".5".
    EXPECT_EQ(formatFixedDecimals(-0.04, 1, false).toStdString(), ".0");
    EXPECT_EQ(formatFixedDecimals(-0.04, 1, true).toStdString(), "0.0");
    EXPECT_EQ(formatFixedDecimals(-0.96, 1, false).toStdString(), "-1.0");
    EXPECT_EQ(formatFixedDecimals(0.3, 0, false).toStdString(), "");
}

} // namespace
