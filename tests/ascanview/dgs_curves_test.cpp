// DGS curves drawn through the calculation library: who draws, the ERS curve
// two units thicker, the ERS label in the recording's unit, and the inputs
// that leave the family undrawn.
#include "curve_fixture.h"

#include "ascanview/curves/cal_exports.h"

#include <QMetaProperty>

using namespace pelix::ascanview;

namespace {

using pelix::ascanview::kCurveRed;

// A 4 MHz, 10 mm straight-beam probe on steel, referenced on a back wall,
// showing a 2 mm ERS: the setup the generator writes for a DGS recording.
class DgsCurveTest : public CurveTest {
  protected:
    void SetUp() override {
        CurveTest::SetUp();
        set("EvalMode", 1);
        set("DGSMode", 1);
        set("DGSProbeNum", 3);
        set("DGSRefStatus", 1);
        set("DGSCurve", 2000);
        set("DGSXtalFreq", 400);
        set("DGSEffeDiam", 10000);
        set("DGSDelayVel", 27300);
        set("DGSRefType", 1);
        set("DGSRefDist", 50000);
        set("DGSRefAmp", 800);
        set("DGSBaseGain", 400);
        set("DGSRefGain", 300);
        set("Gain", 420);
        set("ProbeDelay", 8520);
        set("ttVelocity", 59200.0);
        set("ttDisplayRange", 60000.0);
        set("ttDisplayDelay", 340);
        set("FilterSetup", 2);
    }
};

TEST_F(DgsCurveTest, ErsCurveHasAStrokePerColumnTwoUnitsLongerThanItsOffsetCurves) {
    blankPicture();
    ctl.DrawDGSCurves(-60);
    const auto offsetCurve = curveSegments();
    ASSERT_EQ(offsetCurve.size(), 1001U);
    EXPECT_EQ(offsetCurve[0].y1, offsetCurve[0].y2); // no previous column: a point
    blankPicture();
    ctl.DrawDGSCurves(0);
    const auto ers = curveSegments();
    ASSERT_EQ(ers.size(), 1001U);
    for (std::size_t x = 0; x < ers.size(); ++x) {
        EXPECT_EQ(ers[x].x1, static_cast<double>(x));
        EXPECT_EQ(ers[x].x2, static_cast<double>(x) + 1.0);
        EXPECT_GE(ers[x].y2 - ers[x].y1, 2.0);
    }
    // The same column of the -6 dB curve lies lower on the screen.
    EXPECT_GT(offsetCurve[500].y1, ers[500].y1);
}

TEST_F(DgsCurveTest, FamilyDrawsOffsetCurvesThenTheErsCurve) {
    set("Curve1Offset", -60);
    set("Curve3Offset", 60);
    set("Curve5Offset", 120); // not a DGS offset
    redraw();
    EXPECT_EQ(curveSegments().size(), 3U * 1001U);
}

TEST_F(DgsCurveTest, NothingIsDrawnUnlessDgsModeIsOne) {
    for (const int mode : {0, 2, -1}) {
        set("DGSMode", mode);
        redraw();
        EXPECT_TRUE(curveSegments().empty()) << mode;
        EXPECT_TRUE(labels().empty()) << mode;
    }
}

// The picture reads the whole EvalMode word: high bytes set make it no DGS
// mode, whatever its low byte says (0x101 draws as mode 0 does, not as mode 1).
TEST_F(DgsCurveTest, AWordWithHighBytesSetDrawsTheFamilyOfTheWholeWord) {
    const auto drawn = [&](int mode) {
        set("EvalMode", mode);
        redraw();
        return ctl.surface().toJson();
    };
    const std::string dgs = drawn(1), none = drawn(2), dacOrTcg = drawn(0);
    ASSERT_NE(dgs, dacOrTcg);
    ASSERT_NE(dgs, none);
    EXPECT_EQ(drawn(0x101), dacOrTcg);
    EXPECT_EQ(drawn(6), dacOrTcg);
    EXPECT_EQ(drawn(-255), none); // low byte 1, but a negative word is no mode
}

TEST_F(DgsCurveTest, ErsLabelGivesTheDiameterInTheRecordingsUnit) {
    struct Case {
        int unit;
        int ers;
        const char* label;
    } cases[] = {{0, 2000, "2.00mm"}, {1, 2000, "0.079in"}, {2, 2000, "0.676us"}, {0, 0, nullptr}};
    for (const Case& c : cases) {
        set("Unit", QVariant::fromValue<qint16>(c.unit));
        set("DGSCurve", c.ers);
        redraw();
        const auto texts = ops(SurfaceOpKind::Text, kCurveRed);
        if (!c.label) {
            EXPECT_TRUE(texts.empty());
            continue;
        }
        ASSERT_EQ(texts.size(), 1U) << c.label;
        EXPECT_EQ(ctl.surface().textOf(texts[0]).text, c.label);
        EXPECT_DOUBLE_EQ(texts[0].x1, kW - 510);
        EXPECT_DOUBLE_EQ(ctl.surface().textOf(texts[0]).size, 7.0);
    }
    EXPECT_EQ(ctl.surface().foreground(), rgb(0, 0, 0));
}

TEST_F(DgsCurveTest, InputsTheLibraryCannotTakeLeaveTheFamilyUndrawn) {
    struct Case {
        const char* property;
        QVariant value;
    } cases[] = {{"DGSProbeNum", 41}, {"DGSProbeNum", -1}, {"DGSRefAmp", 0},
                 {"DGSRefAmp", -5},   {"FilterSetup", 12}, {"ttVelocity", 0.0}};
    for (const Case& c : cases) {
        SetUp();
        set(c.property, c.value);
        redraw();
        EXPECT_TRUE(curveSegments().empty()) << c.property << " " << c.value.toString().toStdString();
    }
}

// A sweep that meets a time no 32-bit word holds stops there, keeping what it drew; the redraw
// after it stops at the same column.
TEST_F(DgsCurveTest, ASweepCutShortIsDrawnAgainCutShortAtTheSameColumn) {
    // The display starts so late that the column times pass 2^31 ns part of the way across.
    set("ttDisplayDelay", 2147483647 - 5 * 2000 - 6000);
    blankPicture();
    ctl.DrawDGSCurves(0);
    const auto first = curveSegments();
    EXPECT_TRUE(labels().empty()) << "a curve cut short gets no ERS label";
    ASSERT_GT(first.size(), 0U);
    ASSERT_LT(first.size(), 1001U);
    blankPicture();
    ctl.DrawDGSCurves(0);
    const auto again = curveSegments();
    EXPECT_TRUE(labels().empty());
    ASSERT_EQ(again.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(again[i].y1, first[i].y1) << i;
}

TEST(CalExportsTest, AllNineExportsAreFoundByName) {
    const pelix::ascanview::CalExports& exports = pelix::ascanview::boundCalExports();
    EXPECT_TRUE(exports.dacComplete());
    EXPECT_TRUE(exports.dgsComplete());
    // The same binding every time: the library's DGS state is shared.
    EXPECT_EQ(&exports, &pelix::ascanview::boundCalExports());
}

// A redraw with an unchanged setup draws the curves remembered from the one before; after the
// gain, an offset, the reference amplitude or the size changes, the picture equals that of a
// control that never drew before.
TEST_F(DgsCurveTest, ARedrawAfterAChangeDrawsWhatAFreshControlDraws) {
    set("Curve1Offset", -60);
    set("Curve2Offset", 60);
    struct Change {
        const char* property;
        QVariant value;
    };
    const Change changes[] = {{"Gain", 436},          {"Curve1Offset", -120}, {"Curve2Offset", 0},
                              {"DGSRefAmp", 640},     {"DGSCurve", 3000},     {"PicCurrentHeight", 300.0},
                              {"ttDisplayDelay", 900}};
    for (const Change& change : changes) {
        redraw();
        const std::string swept = ctl.surface().toJson();
        redraw(); // drawn again from what the first redraw remembered
        ASSERT_EQ(ctl.surface().toJson(), swept) << change.property;
        set(change.property, change.value);
        redraw();
        const std::string drawn = ctl.surface().toJson();

        OroAscanCtl fresh;
        for (int i = 0; i < ctl.metaObject()->propertyCount(); ++i) {
            const QMetaProperty property = ctl.metaObject()->property(i);
            if (property.isWritable() && property.isStored()) property.write(&fresh, property.read(&ctl));
        }
        fresh.UpdateAscanGraph();
        EXPECT_EQ(drawn, fresh.surface().toJson()) << change.property;
    }
}

} // namespace
