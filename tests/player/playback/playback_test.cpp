#include "player/window_test_support.h"

#include "platform/track_bar.h"
#include "player/playback/speed_table.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTimer>

#include <filesystem>

namespace pelix::player::test {
namespace {

using platform::TrackBar;

struct SpeedCase {
    int position;
    int tenPerSecondMs, tenPerSecondLabel;
    int fiftyPerSecondMs, fiftyPerSecondLabel;
};

class SpeedTable : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedTable, IntervalAndLabelForBothRates) {
    const SpeedCase& c = GetParam();
    const auto ten = speedAt(c.position, 1);
    const auto fifty = speedAt(c.position, 0);
    ASSERT_TRUE(ten && fifty);
    EXPECT_EQ(ten->intervalMs, c.tenPerSecondMs);
    EXPECT_EQ(ten->framesPerSecond, c.tenPerSecondLabel);
    EXPECT_EQ(fifty->intervalMs, c.fiftyPerSecondMs);
    EXPECT_EQ(fifty->framesPerSecond, c.fiftyPerSecondLabel);
}

INSTANTIATE_TEST_SUITE_P(Positions, SpeedTable,
                         ::testing::Values(SpeedCase{0, 500, 2, 100, 10}, SpeedCase{1, 200, 5, 40, 25},
                                           SpeedCase{2, 100, 10, 20, 50}, SpeedCase{3, 50, 20, 10, 100},
                                           SpeedCase{4, 20, 50, 4, 250}),
                         [](const auto& info) { return "position" + std::to_string(info.param.position); });

TEST(SpeedTableLimits, PositionsOutsideTheSelectorChangeNothing) {
    EXPECT_FALSE(speedAt(-1, 0));
    EXPECT_FALSE(speedAt(5, 1));
    EXPECT_EQ(speedLabelText(250), "250 Frms/Sec");
}

class PlaybackTest : public WindowTest {
  protected:
    void openFrames(int32_t frames, int32_t rate = 50) {
        m_path = files.write(QStringLiteral("PLAY.BIN"), recordingOptions(frames, rate, 2));
        open(m_path);
    }
    QPushButton* playButton() { return control<QPushButton>("cmdPlayStop"); }
    QTimer* timer() { return control<QTimer>("tmrPlay"); }
    TrackBar* slider() { return control<TrackBar>("Slider"); }
    void jumpToFrame(int frame) {
        control<QRadioButton>("OptFrame")->setChecked(true);
        control<QLineEdit>("txtFrameIdx")->setText(QString::number(frame));
        control<QPushButton>("cmdGo")->click();
    }

    QString m_path;
};

TEST_F(PlaybackTest, SpeedSelectorAtTenFramesPerSecond) {
    openFrames(50, 10);
    control<TrackBar>("SliderSpeed")->setValue(4);
    EXPECT_EQ(timer()->interval(), 20);
    EXPECT_EQ(control<QLabel>("LblSpeed")->text(), "50 Frms/Sec");
}

TEST_F(PlaybackTest, PlayFromTheLastFrameStartsAgainAtTheFirst) {
    openFrames(5);
    jumpToFrame(5);
    ASSERT_EQ(session().CurrentFrame, 5);
    playButton()->click();
    EXPECT_EQ(session().CurrentFrame, 1);
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(playButton()->text(), "Pause");
    EXPECT_FALSE(widget("CheckSearch")->isEnabled());
    EXPECT_FALSE(widget("AVI_Select")->isEnabled());
    EXPECT_FALSE(widget("cmdSearch")->isEnabled());
    EXPECT_EQ(timer()->interval(), 20);
}

TEST_F(PlaybackTest, StepsShowFramesAndPauseStaysOnTheFrameOnScreen) {
    openFrames(30);
    playButton()->click();
    for (int i = 0; i < 3; ++i)
        playback().tmrPlay_Timer();
    EXPECT_EQ(slider()->value(), 3);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "3");
    EXPECT_EQ(session().CurrentFrame, 4);

    playButton()->click();
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(playButton()->text(), "Play");
    EXPECT_EQ(session().CurrentFrame, 3);
    EXPECT_TRUE(widget("CheckSearch")->isEnabled());
    EXPECT_TRUE(widget("AVI_Select")->isEnabled());
}

TEST_F(PlaybackTest, PauseOnTheFirstFrameStaysThere) {
    openFrames(30);
    playButton()->click();
    playButton()->click();
    EXPECT_EQ(session().CurrentFrame, 1);
}

TEST_F(PlaybackTest, PlaybackStopsAfterTheLastFrame) {
    openFrames(5);
    playButton()->click();
    for (int i = 0; i < 5; ++i)
        playback().tmrPlay_Timer();
    EXPECT_TRUE(timer()->isActive());
    EXPECT_EQ(slider()->value(), 5);
    playback().tmrPlay_Timer();
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(playButton()->text(), "Play");
    EXPECT_EQ(session().CurrentFrame, 5);
}

TEST_F(PlaybackTest, FileTruncatedUnderUsStopsPlaybackOnTheLastWholeFrame) {
    openFrames(10);
    // Keep the setup record and four and a half frames.
    std::filesystem::resize_file(m_path.toStdString(), 1024 + 4 * 2048 + 1000);
    playButton()->click();
    for (int i = 0; i < 4; ++i)
        playback().tmrPlay_Timer();
    EXPECT_TRUE(timer()->isActive());
    playback().tmrPlay_Timer(); // frame 5 comes up short
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(playButton()->text(), "Play");
    EXPECT_EQ(session().CurrentFrame, 5);
    playback().tmrPlay_Timer();
    slider()->setValue(9); // beyond the end now: nothing breaks
    EXPECT_EQ(session().CurrentFrame, 9);
}

TEST_F(PlaybackTest, DraggingTheSliderStopsPlayback) {
    openFrames(100);
    playButton()->click();
    playback().tmrPlay_Timer();
    slider()->setSliderDown(true);
    slider()->setSliderPosition(40);
    slider()->setSliderDown(false);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(playButton()->text(), "Play");
    EXPECT_EQ(session().CurrentFrame, 40);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "40");
    EXPECT_TRUE(widget("AVI_Select")->isEnabled());
}

TEST_F(PlaybackTest, ProgramMovingTheSliderShowsTheFrame) {
    openFrames(100);
    slider()->setValue(37);
    EXPECT_EQ(session().CurrentFrame, 37);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "37");
}

TEST_F(PlaybackTest, KeysMoveThroughTheSameSlider) {
    openFrames(1234);
    const auto press = [this](Qt::Key key) {
        for (QShortcut* s : window->findChildren<QShortcut*>())
            if (s->key() == QKeySequence(key)) emit s->activated();
    };
    press(Qt::Key_Right);
    EXPECT_EQ(session().CurrentFrame, 2);
    press(Qt::Key_PageDown);
    EXPECT_EQ(session().CurrentFrame, 125);
    press(Qt::Key_Left);
    EXPECT_EQ(session().CurrentFrame, 124);
    press(Qt::Key_PageUp);
    EXPECT_EQ(session().CurrentFrame, 1);
    press(Qt::Key_End);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "1234");
    press(Qt::Key_Home);
    EXPECT_EQ(session().CurrentFrame, 1);
    press(Qt::Key_Space);
    EXPECT_TRUE(timer()->isActive());
    press(Qt::Key_Space);
    EXPECT_FALSE(timer()->isActive());
    // Stepping by hand stops playback, as dragging the slider does.
    press(Qt::Key_Space);
    playback().tmrPlay_Timer();
    playback().tmrPlay_Timer();
    press(Qt::Key_Right);
    EXPECT_FALSE(timer()->isActive());
    EXPECT_EQ(playButton()->text(), "Play");
    EXPECT_EQ(session().CurrentFrame, 3);
}

class AviRangeTest : public PlaybackTest {
  protected:
    void SetUp() override {
        PlaybackTest::SetUp();
        openFrames(100);
        slider()->setValue(10);
        control<QCheckBox>("AVI_Select")->click();
    }
};

TEST_F(AviRangeTest, ArmingMarksFromThePositionToTheEnd) {
    EXPECT_TRUE(slider()->selectRange());
    EXPECT_EQ(slider()->selStart(), 10);
    EXPECT_EQ(slider()->selLength(), 90);
    EXPECT_TRUE(control<QRadioButton>("optStart")->isChecked());
    EXPECT_FALSE(widget("cmdPlayStop")->isEnabled());
    EXPECT_TRUE(widget("cmdSaveAs")->isEnabled());

    control<QCheckBox>("AVI_Select")->click();
    EXPECT_FALSE(slider()->selectRange());
    EXPECT_TRUE(widget("cmdPlayStop")->isEnabled());
    EXPECT_FALSE(widget("optStart")->isEnabled());
}

TEST_F(AviRangeTest, EndBeforeStartSnapsBackToTheStart) {
    slider()->setValue(20);
    EXPECT_EQ(session().avi.startFrame, 20);
    control<QRadioButton>("optEnd")->click();
    slider()->setValue(5);
    EXPECT_EQ(session().avi.endFrame, 20);
    EXPECT_EQ(slider()->value(), 20);
    EXPECT_EQ(slider()->selLength(), 0);
}

TEST_F(AviRangeTest, StartAfterEndDragsTheEndAlong) {
    control<QRadioButton>("optEnd")->click();
    slider()->setValue(30);
    EXPECT_EQ(slider()->selLength(), 20);
    control<QRadioButton>("optStart")->click();
    slider()->setValue(40);
    EXPECT_EQ(session().avi.startFrame, 40);
    EXPECT_EQ(session().avi.endFrame, 40);
    EXPECT_EQ(slider()->selLength(), 0);
}

} // namespace
} // namespace pelix::player::test
