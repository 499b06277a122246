// The control's gate-drag flags have one writer, the playback controller, and
// say what the state machine decided: whatever path the user takes (open, a
// search, playback, a slider drag, a video of a range, a jump from the tools),
// both flags equal the machine's decision afterwards.
#include "platform/common_dialog.h"
#include "platform/control_binding.h"
#include "platform/track_bar.h"
#include "player/window_test_support.h"

#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace pelix::player::test {
namespace {

using playback::PlaybackEvent;
using playback::PlaybackState;

class GateDragWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ASSERT_TRUE(out.isValid());
        platform::setSaveAnswer([this](const platform::SaveRequest&) { return out.filePath("gates.avi"); });
    }
    void TearDown() override {
        WindowTest::TearDown();
        platform::setSaveAnswer({});
    }
    int flag(const char* name) { return platform::controlProperty(widget("Ascan"), name).toInt(); }
    void expectGates(bool allowed, const char* after) {
        EXPECT_EQ(flag("gatea_move_flag"), allowed ? 1 : 0) << after;
        EXPECT_EQ(flag("gateb_move_flag"), allowed ? 1 : 0) << after;
        EXPECT_EQ(playback().gateDragAllowed(), allowed) << after;
    }

    QTemporaryDir out;
};

TEST_F(GateDragWindowTest, EveryPathLeavesBothFlagsAsTheStateMachineDecided) {
    expectGates(false, "load: no frame on screen");
    open(files.write(QStringLiteral("GATES.BIN"), recordingOptions(40)));
    expectGates(true, "open");

    control<QCheckBox>("CheckSearch")->click();
    ASSERT_TRUE(playback().raise(PlaybackEvent::SearchStarted));
    expectGates(false, "searching");
    ASSERT_TRUE(playback().raise(PlaybackEvent::SearchFinished));
    expectGates(true, "search finished");
    control<QPushButton>("cmdSearch")->click();
    EXPECT_EQ(playback().state(), PlaybackState::Stopped);
    expectGates(true, "a whole search run");

    control<platform::TrackBar>("Slider")->setValue(10);
    expectGates(true, "slider moved while stopped");

    auto* play = control<QPushButton>("cmdPlayStop");
    play->click();
    expectGates(false, "play, before the first step");
    playback().tmrPlay_Timer();
    expectGates(true, "between two steps");
    playback().Slider_Scroll();
    EXPECT_EQ(playback().state(), PlaybackState::Stopped);
    expectGates(true, "playback stopped by a slider drag");

    window->setAttribute(Qt::WA_DontShowOnScreen);
    window->show();
    control<platform::TrackBar>("Slider")->setValue(5);
    control<QCheckBox>("AVI_Select")->click();
    control<QRadioButton>("optEnd")->click();
    control<platform::TrackBar>("Slider")->setValue(8);
    auto* save = control<QPushButton>("cmdSaveAs");
    save->click();
    ASSERT_EQ(playback().state(), PlaybackState::RecordingVideo) << messages.texts().join('|').toStdString();
    // The start moves the slider to the range's first frame, which is shown like any step.
    expectGates(true, "video started, its first frame on screen");
    playback().tmrPlay_Timer();
    expectGates(true, "between two steps of the video");
    save->click();
    EXPECT_EQ(playback().state(), PlaybackState::Stopped);
    expectGates(true, "video stopped");

    window->jumpToFrame(3);
    expectGates(true, "a jump as the tools and the report make it");
}

} // namespace
} // namespace pelix::player::test
