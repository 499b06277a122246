#include "player/window_test_support.h"

#include "platform/control_binding.h"
#include "platform/track_bar.h"
#include "platform/up_down.h"
#include "player/controls/twips.h"
#include "player/ui/form_scaler.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <cmath>

namespace pelix::player::test {
namespace {

struct Caption {
    const char* name;
    const char* text;
};

TEST_F(WindowTest, ControlsCarryTheirNamesAndStartingTexts) {
    const Caption buttons[] = {{"cmdOpen", "Open"},
                               {"cmdPlayStop", "Play"},
                               {"cmdGo", "Go"},
                               {"cmdSearch", "Search"},
                               {"cmdSaveAs", "Save as AVI"}};
    for (const Caption& c : buttons)
        EXPECT_EQ(control<QPushButton>(c.name)->text(), c.text) << c.name;
    const Caption labels[] = {{"Label1", "x1/5"}, {"Label2", "x1/2"},        {"Label3", "x1"},
                              {"Label4", "x2"},   {"Label5", "x5"},          {"lblStart", "Start"},
                              {"lblEnd", "End"},  {"Label8", "Start Point"}, {"Label9", "End Point"}};
    for (const Caption& c : labels)
        EXPECT_EQ(control<QLabel>(c.name)->text(), c.text) << c.name;
    const Caption options[] = {{"OptFrame", "Frame"}, {"OptTime", "Time (sec)"}, {"OptFlag", "Flag"}};
    for (const Caption& c : options)
        EXPECT_EQ(control<QRadioButton>(c.name)->text(), c.text) << c.name;
    const Caption groups[] = {{"Frame1", "Quick Move"},
                              {"ReadingFrame", "Readings"},
                              {"Frame2", "Search Frame"},
                              {"Frame3", "Save As AVI"}};
    for (const Caption& c : groups)
        EXPECT_EQ(control<QGroupBox>(c.name)->title(), c.text) << c.name;

    for (int i = 1; i <= 7; ++i) {
        EXPECT_NE(control<QLabel>(QStringLiteral("lblRd%1Name").arg(i).toLatin1().constData()), nullptr);
        EXPECT_NE(control<QLabel>(QStringLiteral("lblRd%1Value").arg(i).toLatin1().constData()), nullptr);
    }
    for (const char* name : {"txtFrameIdx", "txtTimeIdx", "txtFlagIdx"})
        control<QLineEdit>(name);
    for (const char* name : {"FrameUpDown", "TimeUpDown", "FlagUpDown"})
        control<platform::UpDown>(name);
    for (const char* name : {"Slider", "SliderSpeed"})
        control<platform::TrackBar>(name);
    for (const char* name : {"CheckSearch", "AVI_Select"})
        control<QCheckBox>(name);
    for (const char* name : {"optStart", "optEnd"})
        control<QRadioButton>(name);
    control<QListView>("lbSearchResult");
    widget("picResultLabel");
    EXPECT_STREQ(widget("Ascan")->metaObject()->className(), "OroAscanCtl");
    for (const char* name : {"tmrPlay", "Timer1"})
        EXPECT_FALSE(control<QTimer>(name)->isActive()) << name;
}

TEST_F(WindowTest, ShrinkingStopsAtTheMinimumSize) {
    window->show();
    window->resize(pixelsFromTwips(8000), pixelsFromTwips(8000));
    QApplication::processEvents();
    EXPECT_EQ(twipsFromPixels(window->width()), 9915);
    EXPECT_EQ(twipsFromPixels(window->height()), 10965);
    EXPECT_EQ(window->scaler().previousSize(), QSizeF(9915, 10965));
}

TEST_F(WindowTest, WiderWindowScalesEveryControlHorizontallyOnly) {
    window->show();
    window->move(200, 100);
    QApplication::processEvents();
    const QList<QWidget*> placed = window->findChildren<QWidget*>();
    std::vector<std::pair<QWidget*, QRectF>> before;
    for (QWidget* w : placed)
        if (const QRectF r = window->scaler().twipsOf(w); !r.isNull()) before.emplace_back(w, r);
    ASSERT_GE(before.size(), 50u);

    window->resize(window->width() * 3 / 2, window->height());
    QApplication::processEvents();

    EXPECT_FLOAT_EQ(window->scaler().scaleFactor(), 1.5f);
    // The control learns where it sits on the screen (the window manager may
    // still nudge the window by a pixel or two afterwards).
    QWidget* ascan = widget("Ascan");
    const QRectF ascanTwips = window->scaler().twipsOf(ascan);
    EXPECT_NEAR(platform::controlProperty(ascan, "temp_left").toDouble(),
                ascanTwips.left() + twipsFromPixels(window->x()), 45.0);
    EXPECT_NEAR(platform::controlProperty(ascan, "temp_top").toDouble(),
                ascanTwips.top() + twipsFromPixels(window->y()), 45.0);
    for (const auto& [w, r] : before) {
        const QRectF now = window->scaler().twipsOf(w);
        const QString name = w->objectName();
        EXPECT_NEAR(now.left(), r.left() * 1.5, 0.01) << name.toStdString();
        EXPECT_NEAR(now.width(), r.width() * 1.5, 0.01) << name.toStdString();
        EXPECT_FLOAT_EQ(now.top(), r.top()) << name.toStdString();
        EXPECT_FLOAT_EQ(now.height(), r.height()) << name.toStdString();
        EXPECT_NEAR(w->x(), now.left() / kTwipsPerPixel, 1.0) << name.toStdString();
        EXPECT_NEAR(w->width(), now.width() / kTwipsPerPixel, 1.0) << name.toStdString();
    }
}

TEST(FormScaler, RepeatedResizingReturnsToTheDesign) {
    FormScaler scaler;
    QWidget box;
    scaler.add(&box, QRectF(1000, 2000, 3000, 450));
    scaler.start(14400, 11700);
    for (float w : {15000.f, 21113.f, 9915.f, 17777.f, 14400.f})
        scaler.scaleTo(w, 11700.f * w / 14400.f);
    const QRectF r = scaler.twipsOf(&box);
    EXPECT_NEAR(r.left(), 1000, 0.05);
    EXPECT_NEAR(r.top(), 2000, 0.05);
    EXPECT_NEAR(r.width(), 3000, 0.05);
    EXPECT_NEAR(r.height(), 450, 0.05);
    EXPECT_EQ(box.geometry(), QRect(67, 133, 200, 30));
}

} // namespace
} // namespace pelix::player::test

namespace pelix::player::test {
namespace {

class ControlState : public WindowTest {
  protected:
    int number(const char* property) { return platform::controlProperty(widget("Ascan"), property).toInt(); }
    bool flag(const char* property) { return platform::controlProperty(widget("Ascan"), property).toBool(); }
};

TEST_F(ControlState, PreparedAtLoadOpenAndPlay) {
    // At load: no carets, hollow rectified trace, no search box, gates not draggable.
    EXPECT_FALSE(flag("DrawCaratOne"));
    EXPECT_FALSE(flag("DrawCaratTwo"));
    EXPECT_EQ(number("iAscanDrawMode"), 0);
    EXPECT_EQ(number("iAscanRectMode"), 0);
    EXPECT_FALSE(flag("SearchSwitch"));
    EXPECT_EQ(number("gatea_move_flag"), 0);
    EXPECT_EQ(number("gateb_move_flag"), 0);

    open(files.write(QStringLiteral("STATE.BIN"), recordingOptions(40)));
    EXPECT_EQ(number("iGridType"), 2); // edges and tics
    EXPECT_EQ(number("gatea_move_flag"), 1);

    auto* play = control<QPushButton>("cmdPlayStop");
    play->click();
    EXPECT_EQ(number("gatea_move_flag"), 0);
    EXPECT_EQ(number("gateb_move_flag"), 0);
    playback().tmrPlay_Timer();
    // Between two steps the user may grab a gate.
    EXPECT_EQ(number("gatea_move_flag"), 1);
    play->click();
    EXPECT_EQ(number("gateb_move_flag"), 1);
}

} // namespace
} // namespace pelix::player::test
