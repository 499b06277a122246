// Dragging gates A and B with the mouse on picAscan, through the control's
// own handlers: what a press grabs, where a move is refused, what a release
// writes back and when the host hears of it.
#include "ascan_fixture.h"

#include "ascanview/mouse/gate_drag_preview.h"

#include <QWidget>

#include <utility>

using namespace pelix::ascanview;

namespace {

class GateDragTest : public AscanControlTest {
  protected:
    void SetUp() override {
        AscanControlTest::SetUp();
        QObject::connect(&ctl, &OroAscanCtl::MouseUp, [this] { ++mouseUps; });
        set("ShowGateA", true);
        set("ShowGateB", true);
        set("fGateAStart", 20.0F);
        set("fGateAWidth", 20.0F);
        set("iGateAThresh", QVariant::fromValue<qint16>(40));
        set("fGateBStart", 60.0F);
        set("fGateBWidth", 20.0F);
        set("iGateBThresh", 30);
        set("gatea_move_flag", 1);
        set("gateb_move_flag", 1);
        // A surface whose sizes keep every boundary exact in the handlers' single precision.
        set("WidthX", QVariant::fromValue<qint16>(8000));
        set("PicCurrentHeight", 4000.0);
        redraw();
        ASSERT_EQ(W(), 8000.0);
        ASSERT_EQ(H(), 4000.0);
    }

    void press(double x, double y) {
        ctl.picAscan_MouseDown(1, 0, static_cast<float>(x), static_cast<float>(y));
    }
    void move(double x, double y, qint16 button = 1) {
        ctl.picAscan_MouseMove(button, 0, static_cast<float>(x), static_cast<float>(y));
    }
    void release(double x, double y) {
        ctl.picAscan_MouseUp(1, 0, static_cast<float>(x), static_cast<float>(y));
    }

    const GateBar& barA() const { return ctl.dragState().gateADrawnBar; }
    const GateBar& barB() const { return ctl.dragState().gateBDrawnBar; }
    int dragging() const { return ctl.dragState().gateADragging * 1 + ctl.dragState().gateBDragging * 2; }

    int mouseUps = 0;
};

TEST_F(GateDragTest, GrabBoxesAreInclusiveForGateAAndExclusiveForGateB) {
    // Both bars on the same height and place: the bounds decide which one a press takes.
    set("fGateBStart", 20.0F);
    set("iGateBThresh", 40);
    redraw();
    const double d = H() / 40.0;
    const double x = (barA().x1 + barA().x2) / 2;
    const double y = barA().y1;
    struct Case {
        const char* what;
        double x, y;
        int grabbed; // 1 A, 2 B, 3 both
    };
    const Case cases[] = {
        {"on the bar", x, y, 3},
        {"one unit above", x, y - 1, 3},
        {"exactly H/40 above", x, y - d, 1},
        {"exactly H/40 below", x, y + d, 1},
        {"just beyond H/40", x, y + d + 0.5, 0},
        {"left of the box", barA().x1 - d, y, 0},
        {"just inside the left edge", barA().x1 - d + 0.5, y, 3},
        {"right of the box", barA().x2 + d, y, 0},
    };
    for (const Case& c : cases) {
        press(c.x, c.y);
        EXPECT_EQ(dragging(), c.grabbed) << c.what;
    }
}

TEST_F(GateDragTest, MovesOnlyInsideTheInnerBandAndCompletesOnRelease) {
    const double y = barA().y1;
    const double x = barA().x1 + 10;
    press(x, y);
    ASSERT_EQ(dragging(), 1);
    const double width = barA().x2 - barA().x1;
    move(x + 300, H() / 2);
    const GateBar accepted = ctl.dragState().gateADragBar;
    EXPECT_DOUBLE_EQ(accepted.x1, barA().x1 + 300);
    EXPECT_DOUBLE_EQ(accepted.y1, H() / 2);
    EXPECT_DOUBLE_EQ(accepted.x2 - accepted.x1, width);
    // Past 98 % of the width or above 5 % of the height the bar stays where it was.
    for (const auto& [px, py] :
         {std::pair{0.99 * W(), H() / 2}, std::pair{W() / 2, 0.04 * H()}, std::pair{0.015 * W(), H() / 2}}) {
        move(px, py);
        EXPECT_DOUBLE_EQ(ctl.dragState().gateADragBar.x1, accepted.x1);
        EXPECT_DOUBLE_EQ(ctl.dragState().gateADragBar.y1, accepted.y1);
    }
    // Moves without the left button do not carry the bar.
    move(W() / 2, H() / 3, 0);
    EXPECT_DOUBLE_EQ(ctl.dragState().gateADragBar.y1, accepted.y1);
    EXPECT_EQ(mouseUps, 0);

    release(W() / 2, H() / 3);
    EXPECT_EQ(mouseUps, 1);
    const float start = static_cast<float>(100.0 / W() * accepted.x1);
    EXPECT_FLOAT_EQ(get("newGateAStart").toFloat(), start);
    EXPECT_FLOAT_EQ(get("fGateAStart").toFloat(), start);
    EXPECT_EQ(get("newGateAThresh").toInt(), 50);
    EXPECT_EQ(get("iGateAThresh").toInt(), 50);
    EXPECT_FLOAT_EQ(get("fGateAWidth").toFloat(), 20.0F); // the width is not changed
    // Gate B was not grabbed: its values stay those of the host.
    EXPECT_FLOAT_EQ(get("newGateBStart").toFloat(), 60.0F);
    EXPECT_EQ(get("newGateBThresh").toInt(), 30);
}

TEST_F(GateDragTest, RfReleaseAtAQuarterOfTheHeightIsFiftyPercent) {
    set("iAscanRectMode", 1);
    set("iGateAThresh", QVariant::fromValue<qint16>(-20));
    redraw();
    press(barA().x1 + 5, barA().y1);
    ASSERT_EQ(dragging(), 1);
    move(barA().x1 + 5, H() / 4);
    release(barA().x1 + 5, H() / 4);
    EXPECT_EQ(get("iGateAThresh").toInt(), 50);
    EXPECT_EQ(get("newGateAThresh").toInt(), 50);
}

TEST_F(GateDragTest, OverlappingGatesMoveTogetherAndGateBTakesItsOffset) {
    set("fGateBStart", 25.0F);
    set("iGateBThresh", 40);
    set("offsetGateB", 30);
    redraw();
    const GateBar a = barA(), b = barB();
    press(b.x1 + 5, a.y1);
    ASSERT_EQ(dragging(), 3);
    move(b.x1 + 205, H() / 2);
    EXPECT_DOUBLE_EQ(ctl.dragState().gateADragBar.x1, a.x1 + 200);
    EXPECT_DOUBLE_EQ(ctl.dragState().gateBDragBar.x1, b.x1 + 200 + 30);
    release(b.x1 + 205, H() / 2);
    EXPECT_EQ(mouseUps, 1);
    EXPECT_FLOAT_EQ(get("newGateAStart").toFloat(), static_cast<float>(100.0 / W() * (a.x1 + 200)));
    EXPECT_FLOAT_EQ(get("newGateBStart").toFloat(), static_cast<float>(100.0 / W() * (b.x1 + 230)));
    EXPECT_EQ(get("newGateAThresh").toInt(), 50);
    EXPECT_EQ(get("newGateBThresh").toInt(), 50);
}

TEST_F(GateDragTest, NothingMovesWhileBeaIsSetOrTheHostForbidsIt) {
    set("BEA", 1);
    press(barA().x1 + 5, barA().y1);
    EXPECT_EQ(dragging(), 0);
    move(W() / 2, H() / 2);
    release(W() / 2, H() / 2);
    EXPECT_EQ(mouseUps, 0);
    EXPECT_FLOAT_EQ(get("fGateAStart").toFloat(), 20.0F);

    set("BEA", 0);
    set("gatea_move_flag", 0);
    press(barA().x1 + 5, barA().y1);
    EXPECT_EQ(dragging(), 0);
    release(barA().x1 + 5, barA().y1);
    EXPECT_EQ(mouseUps, 0); // a release without a drag raises nothing

    // A hidden gate cannot be picked up where it was last drawn.
    set("gatea_move_flag", 1);
    set("ShowGateA", false);
    press(barA().x1 + 5, barA().y1);
    EXPECT_EQ(dragging(), 0);
}

TEST_F(GateDragTest, PointerShowsWhatAPressWouldGrab) {
    auto* picture = ctl.findChild<QWidget*>(QStringLiteral("picAscan"));
    ASSERT_NE(picture, nullptr);
    move(barA().x1 + 5, barA().y1, 0);
    EXPECT_EQ(picture->cursor().shape(), Qt::SizeAllCursor);
    move(barA().x1 + 5, barA().y1 + H() / 10, 0);
    EXPECT_EQ(picture->cursor().shape(), Qt::ArrowCursor);
    set("BEA", 1);
    move(barA().x1 + 5, barA().y1, 0);
    EXPECT_EQ(picture->cursor().shape(), Qt::ArrowCursor);
}

// Typed values take the path of a release: the bars placed where the values put
// them, the redraw converting them back, MouseUp raised.
TEST_F(GateDragTest, ATypedDragLeavesExactlyTheTypedValues) {
    struct Case {
        const char* what;
        int rectMode;
        bool a, b;
        float aStart;
        int aThresh;
        float bStart;
        int bThresh;
    };
    const Case cases[] = {
        {"gate A, rectified", 0, true, false, 33.37F, 71, 0.0F, 0},
        {"gate A at the picture's edges", 0, true, false, 0.0F, 100, 0.0F, 0},
        {"gate A at the far edge, no threshold", 0, true, false, 100.0F, 0, 0.0F, 0},
        {"gate B alone", 0, false, true, 0.0F, 0, 47.123F, 13},
        {"both, RF below the centre line", 1, true, true, 12.5F, -35, 81.01F, 99},
    };
    for (const Case& c : cases) {
        set("iAscanRectMode", c.rectMode);
        redraw();
        const double widthA = barA().x2 - barA().x1;
        const float startB = get("fGateBStart").toFloat();
        const int before = mouseUps;
        ASSERT_TRUE(ctl.CompleteGateDrag(c.a, c.aStart, c.aThresh, c.b, c.bStart, c.bThresh)) << c.what;
        EXPECT_EQ(mouseUps, before + 1) << c.what;
        if (c.a) {
            EXPECT_EQ(get("newGateAStart").toFloat(), c.aStart) << c.what;
            EXPECT_EQ(get("newGateAThresh").toInt(), c.aThresh) << c.what;
            EXPECT_DOUBLE_EQ(barA().x2 - barA().x1, widthA) << c.what;
        }
        if (c.b) {
            EXPECT_EQ(get("newGateBStart").toFloat(), c.bStart) << c.what;
            EXPECT_EQ(get("newGateBThresh").toInt(), c.bThresh) << c.what;
        } else {
            EXPECT_EQ(get("newGateBStart").toFloat(), startB) << c.what << ": a gate not given stays";
        }
        EXPECT_FLOAT_EQ(get("fGateAWidth").toFloat(), 20.0F) << c.what;
    }
}

TEST_F(GateDragTest, ATypedDragAtAMouseDragsValuesDrawsTheSamePicture) {
    press(barA().x1 + 7, barA().y1);
    move(barA().x1 + 1234.56, H() * 0.37);
    release(barA().x1 + 1234.56, H() * 0.37);
    const QImage byMouse = ctl.surfaceImage();
    const float start = get("newGateAStart").toFloat();
    const int threshold = get("newGateAThresh").toInt();

    OroAscanCtl other;
    for (const char* name : {"fAscanDelay", "fAscanRange", "ShowGateA", "ShowGateB", "fGateAStart",
                             "fGateAWidth", "iGateAThresh", "fGateBStart", "fGateBWidth", "iGateBThresh",
                             "gatea_move_flag", "gateb_move_flag", "WidthX", "PicCurrentHeight"})
        ASSERT_TRUE(other.setProperty(name, ctl.property(name))) << name;
    other.setProperty("fGateAStart", 20.0F);
    other.setProperty("iGateAThresh", QVariant::fromValue<qint16>(40));
    other.resize(ctl.size());
    other.UpdateAscanGraph();
    ASSERT_TRUE(other.CompleteGateDrag(true, start, threshold, false, 0.0F, 0));
    EXPECT_EQ(other.property("newGateAStart").toFloat(), start);
    EXPECT_EQ(other.property("newGateAThresh").toInt(), threshold);
    EXPECT_EQ(other.surfaceImage(), byMouse);
}

TEST_F(GateDragTest, ATypedDragIsRefusedWhereAPressCouldNotGrab) {
    struct Case {
        const char* what;
        const char* property;
        QVariant value;
        bool a, b;
    };
    const Case cases[] = {
        {"BEA set", "BEA", 1, true, false},
        {"gate A may not move", "gatea_move_flag", 0, true, true},
        {"gate B hidden", "ShowGateB", false, false, true},
        {"no gate given", "BEA", 0, false, false},
    };
    for (const Case& c : cases) {
        const QVariant was = get(c.property);
        set(c.property, c.value);
        redraw();
        EXPECT_FALSE(ctl.CompleteGateDrag(c.a, 50.0F, 50, c.b, 50.0F, 50)) << c.what;
        EXPECT_EQ(mouseUps, 0) << c.what;
        EXPECT_EQ(dragging(), 0) << c.what;
        EXPECT_FLOAT_EQ(get("newGateAStart").toFloat(), 20.0F) << c.what;
        set(c.property, was);
    }
}

// The preview follows the pointer over the picture and never reaches the drawing surface.
TEST_F(GateDragTest, ThePreviewFollowsTheCarriedBarOutsideTheOperationList) {
    ctl.resize(800, 600);
    redraw();
    auto* preview = ctl.findChild<GateDragPreview*>(QStringLiteral("GateDragPreview"));
    ASSERT_NE(preview, nullptr);
    EXPECT_TRUE(preview->isHidden());
    EXPECT_TRUE(preview->testAttribute(Qt::WA_TransparentForMouseEvents)) << "the picture keeps the mouse";
    const QString opsBefore = ctl.surfaceOperationsJson();
    const QImage pictureBefore = ctl.surfaceImage();

    press(barA().x1 + 5, barA().y1);
    move(barA().x1 + 805, H() / 2);
    ASSERT_FALSE(preview->isHidden());
    const auto* picture = preview->parentWidget();
    ASSERT_TRUE(preview->barA().has_value());
    EXPECT_FALSE(preview->barB().has_value());
    const GateBar carried = ctl.dragState().gateADragBar;
    EXPECT_DOUBLE_EQ(preview->barA()->x1(), carried.x1 * picture->width() / W());
    EXPECT_DOUBLE_EQ(preview->barA()->y1(), carried.y1 * picture->height() / H());
    EXPECT_EQ(preview->geometry(), picture->rect());
    EXPECT_EQ(ctl.surfaceOperationsJson(), opsBefore) << "nothing is drawn while moving";
    EXPECT_EQ(ctl.surfaceImage(), pictureBefore);

    release(barA().x1 + 805, H() / 2);
    EXPECT_TRUE(preview->isHidden());
    EXPECT_EQ(mouseUps, 1);
    // A press that grabs nothing shows nothing.
    press(W() / 2, 2);
    move(W() / 2 + 100, H() / 2);
    EXPECT_TRUE(preview->isHidden());
}

} // namespace
