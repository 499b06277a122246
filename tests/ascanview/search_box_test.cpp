// The search box: its zones, the clamping to the surface, resizing with the
// smallest sizes, and a drag through the control's own mouse events.
#include "ascan_fixture.h"

#include "ascanview/mouse/search_box_geometry.h"
#include "ascanview/mouse/search_range_box.h"

#include <QApplication>
#include <QMouseEvent>

#include <limits>
#include <tuple>

using namespace pelix::ascanview;

namespace {

TEST(SearchBoxGeometry, ZonesAreAQuarterOnTheLeftAndTopAndAFifthOnTheRightAndBottom) {
    const struct {
        double x, y;
        BoxZone zone;
    } cases[] = {
        {50, 50, BoxZone::Middle},     {24, 50, BoxZone::Left},        {25, 50, BoxZone::Middle},
        {80, 50, BoxZone::Middle},     {81, 50, BoxZone::Right},       {50, 24, BoxZone::Top},
        {50, 81, BoxZone::Bottom},     {10, 10, BoxZone::TopLeft},     {90, 10, BoxZone::TopRight},
        {10, 90, BoxZone::BottomLeft}, {90, 90, BoxZone::BottomRight},
    };
    for (const auto& c : cases)
        EXPECT_EQ(boxZoneAt(c.x, c.y, 100, 100), c.zone) << c.x << "," << c.y;
}

TEST(SearchBoxGeometry, ABoxPastABorderIsPutBackAndOnlyABoxInsideMoves) {
    const double W = 4000, H = 2000;
    SearchBoxDrag moving;
    moving.searchMoving = true;
    moving.pressX = 100;
    moving.mouseX = 130; // 30 to the right
    moving.pressY = 50;
    moving.mouseY = 40; // 10 up
    const struct {
        const char* what;
        SearchBoxGeometry box;
        bool past;
        SearchBoxGeometry expected;
    } cases[] = {
        {"inside: moves by the offset", {600, 360, 500, 500}, false, {630, 350, 500, 500}},
        {"past the left border", {-24, 360, 500, 500}, true, {16, 360, 500, 500}},
        {"just inside the left border", {-23, 360, 500, 500}, false, {7, 350, 500, 500}},
        {"past the top border", {600, 0, 500, 500}, true, {600, 1, 500, 500}},
        {"past the right border", {3596, 360, 500, 500}, true, {3470, 360, 500, 500}},
        {"past the bottom border", {600, 1788, 500, 500}, true, {600, 1500, 500, 500}},
    };
    for (const auto& c : cases) {
        SearchBoxGeometry box = c.box;
        EXPECT_EQ(limitSearchBox(box, moving, W, H), c.past) << c.what;
        EXPECT_DOUBLE_EQ(box.left, c.expected.left) << c.what;
        EXPECT_DOUBLE_EQ(box.top, c.expected.top) << c.what;
    }
    SearchBoxGeometry still{600, 360, 500, 500};
    EXPECT_FALSE(limitSearchBox(still, SearchBoxDrag{}, W, H));
    EXPECT_DOUBLE_EQ(still.left, 600);
}

TEST(SearchBoxGeometry, EdgesFollowTheMouseDownToTheSmallestBox) {
    const struct {
        const char* what;
        BoxZone zone;
        double dx, dy;
        SearchBoxGeometry expected;
    } cases[] = {
        {"left edge out", BoxZone::Left, -100, 0, {500, 360, 600, 500}},
        {"left edge in, stops at 120 wide", BoxZone::Left, 450, 0, {980, 360, 120, 500}},
        {"right edge in, stops at 150 wide", BoxZone::Right, -450, 0, {600, 360, 150, 500}},
        {"top edge in, stops at 80 high", BoxZone::Top, 0, 450, {600, 780, 500, 80}},
        {"bottom edge in, stops at 150 high", BoxZone::Bottom, 0, -450, {600, 360, 500, 150}},
        {"top-right corner", BoxZone::TopRight, 40, -60, {600, 300, 540, 560}},
        {"bottom-left corner", BoxZone::BottomLeft, -40, 60, {560, 360, 540, 560}},
    };
    for (const auto& c : cases) {
        SearchBoxGeometry box{600, 360, 500, 500};
        SearchBoxDrag drag;
        drag.searchDragging = true;
        drag.pressX = 250;
        drag.pressY = 250;
        drag.mouseX = 250 + c.dx;
        drag.mouseY = 250 + c.dy;
        resizeSearchBox(box, c.zone, drag);
        EXPECT_DOUBLE_EQ(box.left, c.expected.left) << c.what;
        EXPECT_DOUBLE_EQ(box.top, c.expected.top) << c.what;
        EXPECT_DOUBLE_EQ(box.width, c.expected.width) << c.what;
        EXPECT_DOUBLE_EQ(box.height, c.expected.height) << c.what;
    }
    // Through the bottom edge a box lower than 150 is made 150 high; the right
    // edge's press point goes with the edge, so the next step is not counted twice.
    SearchBoxGeometry low{600, 360, 500, 100};
    SearchBoxDrag drag;
    drag.pressX = drag.mouseX = 450;
    drag.pressY = 90;
    drag.mouseY = 95;
    resizeSearchBox(low, BoxZone::BottomRight, drag);
    EXPECT_DOUBLE_EQ(low.height, 150);
    drag.mouseX = 470;
    resizeSearchBox(low, BoxZone::Right, drag);
    resizeSearchBox(low, BoxZone::Right, drag);
    EXPECT_DOUBLE_EQ(low.width, 520);
}

// The limits of the edge cases named for the box, on a bare surface.
TEST(SearchBoxGeometry, LimitsOfHalfHeightBoxes) {
    ControlProperties props;
    GateDragState drag;
    DrawingSurface surface;
    surface.setScale(4000, 2000);
    props.iAscanRectMode = 0;
    ASSERT_TRUE(AscanGraph(props, drag, surface).updateSearchLimits({100, 0, 400, 1000}));
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 100);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 50);
    props.iAscanRectMode = 1;
    ASSERT_TRUE(AscanGraph(props, drag, surface).updateSearchLimits({100, 500, 400, 500}));
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 50);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 0);
    props.SearchUphightlimit = 33;
    props.SearchLowhightlimit = 11;
    ASSERT_TRUE(AscanGraph(props, drag, surface).updateSearchLimits({100, 500, 400, 1000}));
    EXPECT_DOUBLE_EQ(props.SearchUphightlimit, 33);
    EXPECT_DOUBLE_EQ(props.SearchLowhightlimit, 11);
}

class SearchBoxDragTest : public AscanControlTest {
  protected:
    void SetUp() override {
        AscanControlTest::SetUp();
        ctl.resize(800, 500);
        set("SearchSwitch", true);
        redraw();
        box = ctl.findChild<SearchRangeBox*>("SearchRange");
        ASSERT_NE(box, nullptr);
    }
    void mouse(QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), box->mapToGlobal(QPointF(at)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    }
    SearchRangeBox* box = nullptr;
};

TEST_F(SearchBoxDragTest, ALeftEdgeDraggedPastTheBorderEndsAtSixteen) {
    ctl.setSearchBox({200, 360, 1500, 600});
    const QPoint grip(box->width() / 8, box->height() / 2); // the left zone
    mouse(QEvent::MouseMove, grip, Qt::NoButton);
    EXPECT_EQ(box->cursor().shape(), Qt::SizeHorCursor);
    mouse(QEvent::MouseButtonPress, grip, Qt::LeftButton);
    EXPECT_TRUE(box->cursorConfined());
    // 20 pixels = 300 twips to the left: the edge ends at -100, past the border.
    mouse(QEvent::MouseMove, grip - QPoint(20, 0), Qt::LeftButton);
    EXPECT_NEAR(ctl.searchBox().left, -100, 15);
    mouse(QEvent::MouseButtonRelease, grip - QPoint(20, 0), Qt::NoButton);
    EXPECT_DOUBLE_EQ(ctl.searchBox().left, 16);
    EXPECT_FALSE(box->cursorConfined());
    EXPECT_FALSE(ctl.searchDrag().searchDragging);
    // The limits describe the box where it ended.
    EXPECT_DOUBLE_EQ(get("SearchLowwidthRange").toDouble(), 16 / W() * 800);
}

TEST_F(SearchBoxDragTest, AMoveCarriesTheBoxAndTheReleaseRecomputesTheLimits) {
    ctl.setSearchBox({600, 360, 600, 600});
    const QPoint middle(box->width() / 2, box->height() / 2);
    mouse(QEvent::MouseMove, middle, Qt::NoButton);
    EXPECT_EQ(box->cursor().shape(), Qt::SizeAllCursor);
    mouse(QEvent::MouseButtonPress, middle, Qt::LeftButton);
    mouse(QEvent::MouseMove, middle + QPoint(10, 4), Qt::LeftButton); // 150 right, 60 down
    const SearchBoxGeometry moved = ctl.searchBox();
    EXPECT_NEAR(moved.left, 750, 15);
    EXPECT_NEAR(moved.top, 420, 15);
    mouse(QEvent::MouseButtonRelease, middle + QPoint(10, 4), Qt::NoButton);
    EXPECT_DOUBLE_EQ(ctl.searchBox().left, moved.left); // the release does not move it again
    EXPECT_DOUBLE_EQ(get("SearchLowwidthRange").toDouble(), moved.left / W() * 800);
    EXPECT_DOUBLE_EQ(get("SearchUphightlimit").toDouble(), 100 - moved.top / H() * 100);
}

// Typed limits place the box; the limits the control then computes from it are the typed ones.
TEST_F(SearchBoxDragTest, TypedLimitsPlaceTheBoxWhoseLimitsTheyAre) {
    struct Case {
        const char* what;
        int rectMode;
        double boxTopBefore; // in RF the box stays in its half
        double low, up, lowHeight, upHeight;
        bool lowerHalf;
    };
    const Case cases[] = {
        {"rectified", 0, 360, 123.4, 456.7, 12.5, 87.25, false},
        {"rectified, the whole picture", 0, 360, 0, 800, 0, 100, false},
        {"RF, upper half", 1, 100, 10, 20, 30, 40, false},
        {"RF, lower half", 1, 0.75, 10, 20, 30, 40, true},
        {"RF, lower half up to the bottom", 1, 0.75, 0, 800, 0, 100, true},
    };
    for (const Case& c : cases) {
        set("iAscanRectMode", c.rectMode);
        redraw();
        ctl.setSearchBox({600, c.boxTopBefore < 1 ? H() * c.boxTopBefore : c.boxTopBefore, 495, 200});
        ASSERT_TRUE(ctl.PlaceSearchRange(c.low, c.up, c.lowHeight, c.upHeight)) << c.what;
        EXPECT_NEAR(get("SearchLowwidthRange").toDouble(), c.low, 1e-9) << c.what;
        EXPECT_NEAR(get("SearchUpwidthRange").toDouble(), c.up, 1e-9) << c.what;
        EXPECT_NEAR(get("SearchLowhightlimit").toDouble(), c.lowHeight, 1e-9) << c.what;
        EXPECT_NEAR(get("SearchUphightlimit").toDouble(), c.upHeight, 1e-9) << c.what;
        EXPECT_EQ(ctl.searchBox().top >= H() / 2, c.lowerHalf) << c.what;
        // A redraw computes the same limits from the box.
        redraw();
        EXPECT_NEAR(get("SearchUphightlimit").toDouble(), c.upHeight, 1e-9) << c.what;
    }
}

TEST_F(SearchBoxDragTest, LimitsThatMakeNoBoxAreRefusedAndChangeNothing) {
    ctl.setSearchBox({600, 360, 495, 495});
    redraw();
    const SearchBoxGeometry before = ctl.searchBox();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const auto& [low, up, lowHeight, upHeight] :
         {std::tuple{100.0, 100.0, 10.0, 20.0}, std::tuple{200.0, 100.0, 10.0, 20.0},
          std::tuple{-1.0, 100.0, 10.0, 20.0}, std::tuple{100.0, 801.0, 10.0, 20.0},
          std::tuple{100.0, 200.0, 20.0, 20.0}, std::tuple{100.0, 200.0, 10.0, 100.5},
          std::tuple{nan, 200.0, 10.0, 20.0}}) {
        EXPECT_FALSE(ctl.PlaceSearchRange(low, up, lowHeight, upHeight))
            << low << " " << up << " " << upHeight;
        EXPECT_DOUBLE_EQ(ctl.searchBox().left, before.left);
        EXPECT_DOUBLE_EQ(ctl.searchBox().height, before.height);
    }
}

} // namespace
