// Layout in twips, the search limits and the text services.
#include "ascan_fixture.h"

#include "ascanview/render/control_layout.h"
#include "ascanview/render/label_text.h"

using namespace pelix::ascanview;

namespace {

TEST(ControlLayout, GrowsToTheMinimumAndFillsTheLeftHalfWithThePicture) {
    const ControlLayout layout = computeControlLayout(5000, 2000);
    EXPECT_DOUBLE_EQ(layout.width, 7200);
    EXPECT_DOUBLE_EQ(layout.height, 3500);
    EXPECT_DOUBLE_EQ(layout.picAscan.left, 96);
    EXPECT_DOUBLE_EQ(layout.picAscan.top, 288);
    EXPECT_DOUBLE_EQ(layout.picAscan.width, 3504);
    EXPECT_DOUBLE_EQ(layout.picAscan.height, 2924);
    EXPECT_DOUBLE_EQ(layout.controlTitle.left, 720);
    EXPECT_DOUBLE_EQ(layout.controlTitle.width, 2880);
    EXPECT_DOUBLE_EQ(layout.ascanStart.left, 96);
    EXPECT_DOUBLE_EQ(layout.ascanStart.top, 288 + 2924);
    EXPECT_DOUBLE_EQ(layout.ascanWidth.top, layout.ascanStart.top);
    EXPECT_DOUBLE_EQ(layout.ascanWidth.left + layout.ascanWidth.width, 96 + 3504);
}

TEST(ControlLayout, PanelRowsAreSeventeenthsOfTheHeightInTheRightHalf) {
    const ControlLayout layout = computeControlLayout(12000, 6800);
    for (std::size_t i = 0; i < 16; ++i) {
        const TwipRect& title = layout.paramTitle[i];
        const TwipRect& value = layout.paramValue[i];
        EXPECT_DOUBLE_EQ(title.top, static_cast<double>(i) * 400);
        EXPECT_DOUBLE_EQ(title.height, 400);
        EXPECT_DOUBLE_EQ(title.left, 6096);
        EXPECT_DOUBLE_EQ(title.width, 9000 - 6096 - 20);
        EXPECT_DOUBLE_EQ(value.top, title.top);
        EXPECT_DOUBLE_EQ(value.left, 9020);
        EXPECT_DOUBLE_EQ(value.width, 12000 - 9020);
    }
    EXPECT_DOUBLE_EQ(layout.picAscan.width, 6000 - 96);
    EXPECT_DOUBLE_EQ(layout.picAscan.height, 6800 - 576);
}

TEST(ControlLayout, ResizedControlTakesItsSurfaceSizeFromTheLayout) {
    OroAscanCtl ctl;
    ctl.resize(960, 480); // 14400 x 7200 twips
    ctl.UpdateAscanGraph();
    EXPECT_DOUBLE_EQ(ctl.surface().scaleWidth(), 14400 / 2 - 96);
    EXPECT_DOUBLE_EQ(ctl.surface().scaleHeight(), 7200 - 576);
    const QWidget* picture = ctl.findChild<QWidget*>("picAscan");
    EXPECT_EQ(picture->geometry(), QRect(6, 19, 474, 442));
    EXPECT_EQ(ctl.property("PicLeftX").toInt(), 96);
    ctl.resize(10, 10);
    EXPECT_GE(ctl.width() * 15, 7200);
    EXPECT_GE(ctl.height() * 15, 3500);
}

TEST(ControlLayout, HostScaleSurvivesAResize) {
    OroAscanCtl ctl;
    ctl.setProperty("WidthX", 800);
    ctl.setProperty("PicCurrentHeight", 400.0);
    ctl.resize(900, 500);
    ctl.UpdateAscanGraph();
    EXPECT_EQ(ctl.property("WidthX").toInt(), 800);
    EXPECT_DOUBLE_EQ(ctl.property("PicCurrentHeight").toDouble(), 400.0);
    EXPECT_DOUBLE_EQ(ctl.surface().scaleWidth(), 800);
}

TEST(ControlLayout, PenPositionIsReadAndWrittenThroughPicXAndPicY) {
    OroAscanCtl ctl;
    ctl.setProperty("PicX", 120.5);
    ctl.setProperty("PicY", 33.0);
    EXPECT_DOUBLE_EQ(ctl.property("PicX").toDouble(), 120.5);
    EXPECT_DOUBLE_EQ(ctl.surface().penY(), 33.0);
}

struct ConvertCase {
    const char* input;
    bool comma;
    const char* expected;
};

TEST(LabelText, ConvertDecToComKeepsDigitsOneSeparatorAndTheSign) {
    const ConvertCase cases[] = {
        {"-12.50", true, "-12,50"},    {"-12.50", false, "-12.50"}, {"1.2.3", false, "1.23"},
        {"12 mm", false, "12"},        {"5-", false, "-5"},         {"", false, ""},
        {"3,25", false, "3.25"},       {"1,2.5", true, "1,25"},     {"--7", false, "-7"},
        {"\u00bd1\u0663", false, "1"}, // only ASCII digits count
    };
    for (const ConvertCase& c : cases)
        EXPECT_EQ(convertDecToCom(QString::fromUtf8(c.input), c.comma), QString::fromUtf8(c.expected))
            << c.input;
}

TEST(LabelText, ConvertDecToComFollowsTheRadixProperty) {
    OroAscanCtl ctl;
    EXPECT_EQ(ctl.ConvertDecToCom("-12.50"), "-12.50");
    ctl.setProperty("RadixCharacter", OroAscanCtl::COMMA);
    EXPECT_EQ(ctl.ConvertDecToCom("-12.50"), "-12,50");
    ctl.setProperty("RadixCharacter", 5); // anything but COMMA is a decimal point
    EXPECT_EQ(ctl.ConvertDecToCom("-12,50"), "-12.50");
}

TEST(LabelText, FormatLabelWritesTenthsOfADecibel) {
    const std::pair<std::int32_t, const char*> cases[] = {
        {60, "+6.0dB"},
        {-35, "-3.5dB"},
        {0, ".0dB"},
        {5, "+.5dB"},
        {-5, "-.5dB"},
        {120, "+12.0dB"},
        {-1000, "-100.0dB"},
        {10, "+1.0dB"},
        {2147483647, "+214748364.7dB"},
        {-2147483647 - 1, "-214748364.8dB"},
    };
    for (const auto& [offset, expected] : cases)
        EXPECT_EQ(formatCurveLabel(offset), expected) << offset;
}

// The search limits on a bare surface, so that the box can be put anywhere.
class SearchLimitsTest : public ::testing::Test {
  protected:
    void SetUp() override { surface.setScale(4000, 2000); }
    void compute(bool rf, SearchBoxGeometry box) {
        props.iAscanRectMode = rf ? 1 : 0;
        AscanGraph graph(props, drag, surface);
        ASSERT_TRUE(graph.updateSearchLimits(box));
    }
    ControlProperties props;
    GateDragState drag;
    DrawingSurface surface;
};

TEST_F(SearchLimitsTest, RectifiedLimitsAreFractionsOfTheWholeSurface) {
    compute(false, {1000, 500, 500, 1000});
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 75);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 25);
    EXPECT_DOUBLE_EQ(props.SearchLowwidthRange, 200);
    EXPECT_DOUBLE_EQ(props.SearchUpwidthRange, 300);
}

TEST_F(SearchLimitsTest, RfLimitsAreMagnitudesFromTheCentreLine) {
    compute(true, {0, 200, 400, 600}); // upper half, touching the centre line
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 80);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 20);
    EXPECT_DOUBLE_EQ(props.SearchUpwidthRange, 80);
    compute(true, {0, 1000, 400, 500}); // lower half, starting on the centre line
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 50);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 0);
    compute(true, {2000, 800, 400, 400}); // across the centre line: amplitudes stay
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 50);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 0);
    EXPECT_DOUBLE_EQ(props.SearchLowwidthRange, 400);
}

TEST_F(SearchLimitsTest, AnEmptySurfaceLeavesTheLimitsAlone) {
    props.SearchUphightlimit = 60;
    surface.setScale(0, 0);
    AscanGraph graph(props, drag, surface);
    EXPECT_FALSE(graph.updateSearchLimits({10, 10, 10, 10}));
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 60);
}

TEST(SearchLimits, RedrawComputesThemFromTheDesignTimeBox) {
    OroAscanCtl ctl;
    ctl.UpdateAscanGraph();
    const double w = ctl.surface().scaleWidth();
    const double h = ctl.surface().scaleHeight();
    EXPECT_DOUBLE_EQ(ctl.property("SearchUphightlimit").toDouble(), 100 - 360 / h * 100);
    EXPECT_DOUBLE_EQ(ctl.property("SearchLowhightlimit").toDouble(), 100 - (360 + 495) / h * 100);
    EXPECT_DOUBLE_EQ(ctl.property("SearchLowwidthRange").toDouble(), 600 / w * 800);
    EXPECT_DOUBLE_EQ(ctl.property("SearchUpwidthRange").toDouble(), (600 + 495) / w * 800);
}

TEST(SearchLimits, AVisibleBoxKeepsItsRelativePlaceWhenTheControlGrows) {
    OroAscanCtl ctl;
    ctl.setProperty("SearchSwitch", true);
    ctl.UpdateAscanGraph();
    const double before = ctl.property("SearchLowwidthRange").toDouble();
    ctl.resize(ctl.width() * 2, ctl.height() * 2);
    ctl.UpdateAscanGraph();
    EXPECT_NEAR(ctl.property("SearchLowwidthRange").toDouble(), before, 1e-9);
}

} // namespace
