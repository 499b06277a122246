#include "player/window_test_support.h"

#include "platform/track_bar.h"
#include "player/display/frame_display.h"
#include "player/search/search_controller.h"
#include "player/search/search_results.h"

#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QUrl>

#include <sstream>

namespace pelix::player::test {
namespace {

using platform::TrackBar;

const QString kAppTitle = QStringLiteral("Pelix Player ( Ver%1.%2.%3 )")
                              .arg(PELIX_VERSION_MAJOR)
                              .arg(PELIX_VERSION_MINOR)
                              .arg(PELIX_VERSION_PATCH);

// Everything that needs a recording: disabled before the first open and after a rejected file.
const char* const kRecordingControls[] = {
    "cmdPlayStop", "cmdGo",      "OptFrame",   "FrameUpDown", "txtFrameIdx", "OptTime",
    "TimeUpDown",  "txtTimeIdx", "OptFlag",    "FlagUpDown",  "txtFlagIdx",  "cmdSearch",
    "CheckSearch", "Slider",     "AVI_Select", "cmdSaveAs",   "optStart",    "optEnd"};
// What opening enables; search and export buttons wait for their own check boxes.
const char* const kEnabledByOpen[] = {"CheckSearch", "cmdPlayStop", "cmdGo",      "OptFrame",   "OptTime",
                                      "OptFlag",     "FrameUpDown", "TimeUpDown", "FlagUpDown", "txtFrameIdx",
                                      "txtTimeIdx",  "txtFlagIdx",  "Slider",     "AVI_Select"};

class OpenSequenceTest : public WindowTest {
  protected:
    void expectNoRecordingControls() {
        for (const char* name : kRecordingControls)
            EXPECT_FALSE(widget(name)->isEnabled()) << name;
        EXPECT_TRUE(widget("cmdOpen")->isEnabled());
    }
};

TEST_F(OpenSequenceTest, BeforeTheFirstOpenOnlyOpenAndSpeedWork) {
    EXPECT_EQ(window->windowTitle(), kAppTitle);
    expectNoRecordingControls();
    EXPECT_EQ(control<QPushButton>("cmdPlayStop")->text(), "Play");
    // The speed selector works alone: label and interval, nothing else.
    control<TrackBar>("SliderSpeed")->setValue(4);
    EXPECT_EQ(control<QLabel>("LblSpeed")->text(), "250 Frms/Sec");
    EXPECT_EQ(control<QTimer>("tmrPlay")->interval(), 4);
    EXPECT_FALSE(control<QTimer>("tmrPlay")->isActive());
    expectNoRecordingControls();
}

struct OpenCase {
    int32_t frames;
    int32_t framesPerSecond;
    int32_t flagged;
    int tick;
    const char* speed;
    const char* flagCaption;
    const char* flagBox;
};

class OpenShowsRecording : public OpenSequenceTest, public ::testing::WithParamInterface<OpenCase> {};

TEST_P(OpenShowsRecording, PreparesSliderSpeedFlagsAndControls) {
    const OpenCase& c = GetParam();
    open(files.write(QStringLiteral("SCAN01.BIN"), recordingOptions(c.frames, c.framesPerSecond, c.flagged)));

    EXPECT_EQ(window->windowTitle(), kAppTitle + "  -  SCAN01.BIN");
    auto* slider = control<TrackBar>("Slider");
    EXPECT_EQ(slider->minimum(), 1);
    EXPECT_EQ(slider->maximum(), c.frames);
    EXPECT_EQ(slider->value(), 1);
    EXPECT_EQ(slider->tickFrequency(), c.tick);
    EXPECT_EQ(slider->largeChange(), c.tick);
    EXPECT_EQ(control<QLabel>("lblStart")->text(), "1");
    EXPECT_EQ(control<QLabel>("lblEnd")->text(), QString::number(c.frames));
    EXPECT_EQ(control<TrackBar>("SliderSpeed")->value(), 2);
    EXPECT_EQ(control<QLabel>("LblSpeed")->text(), c.speed);
    EXPECT_EQ(control<QRadioButton>("OptFlag")->text(), c.flagCaption);
    EXPECT_EQ(control<QLineEdit>("txtFlagIdx")->text(), c.flagBox);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "1");
    EXPECT_EQ(control<QLineEdit>("txtTimeIdx")->text(), "0");
    EXPECT_EQ(session().CurrentFrame, 1);
    ASSERT_TRUE(waitForFlags()); // the flag controls follow the index built in the background
    for (const char* name : kEnabledByOpen)
        EXPECT_TRUE(widget(name)->isEnabled()) << name;
    for (const char* name : {"cmdSearch", "cmdSaveAs", "optStart", "optEnd"})
        EXPECT_FALSE(widget(name)->isEnabled()) << name;
    EXPECT_FALSE(control<QCheckBox>("CheckSearch")->isChecked());
    EXPECT_TRUE(messages.messages().empty());
}

INSTANTIATE_TEST_SUITE_P(Recordings, OpenShowsRecording,
                         ::testing::Values(OpenCase{5, 50, 0, 1, "50 Frms/Sec", "Flag (0)", "0"},
                                           OpenCase{10, 50, 1, 1, "50 Frms/Sec", "Flag (1)", "1"},
                                           OpenCase{11, 10, 2, 1, "10 Frms/Sec", "Flag (2)", "1"},
                                           OpenCase{1234, 10, 3, 123, "10 Frms/Sec", "Flag (3)", "1"}),
                         [](const auto& info) {
                             return std::to_string(info.param.frames) + "frames" +
                                    std::to_string(info.param.framesPerSecond) + "fps";
                         });

TEST_F(OpenSequenceTest, OpenButtonAsksWithTheRecordingFilter) {
    dialogAnswer = files.write(QStringLiteral("A.BIN"), recordingOptions(20));
    control<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(dialogShown, 1);
    EXPECT_EQ(dialogFilter, "Pelix Video Files (*.BIN)|*.BIN|All Files (*.*)|*.*");
    EXPECT_EQ(session().FrameCount(), 20);
}

TEST_F(OpenSequenceTest, CancelledDialogKeepsTheOpenRecording) {
    open(files.write(QStringLiteral("KEEP.BIN"), recordingOptions(30)));
    control<TrackBar>("Slider")->setValue(7);
    const QString title = window->windowTitle();

    dialogAnswer.clear();
    control<QPushButton>("cmdOpen")->click();

    EXPECT_TRUE(session().isOpen());
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_EQ(session().CurrentFrame, 7);
    EXPECT_TRUE(widget("cmdPlayStop")->isEnabled());
    control<QPushButton>("cmdPlayStop")->click();
    EXPECT_TRUE(control<QTimer>("tmrPlay")->isActive());
}

struct RejectCase {
    const char* name;
    std::string bytes; // empty: a folder of that name
    const char* message;
    OpenResult result;
};

class RejectedFile : public OpenSequenceTest, public ::testing::WithParamInterface<RejectCase> {
  protected:
    QString rejectedPath() {
        if (!GetParam().bytes.empty()) return files.writeBytes(GetParam().name, GetParam().bytes);
        const QString folder = files.filePath(GetParam().name);
        QDir().mkpath(folder);
        return folder;
    }
    void expectRefusedWithItsMessage(const QString& path) {
        messages.clear();
        EXPECT_EQ(window->openRecording(path), GetParam().result);
        ASSERT_EQ(messages.messages().size(), 1u);
        if (GetParam().message[0] != '\0') {
            EXPECT_EQ(messages.messages()[0].text, GetParam().message);
        }
        EXPECT_EQ(messages.messages()[0].icon, platform::MessageIcon::Exclamation);
    }
};

// The review goes on after a refused file: the recording stays open at its
// frame, with its title, its search results and its controls.
TEST_P(RejectedFile, KeepsTheStoppedRecordingItsFrameAndItsSearch) {
    const QString good = files.write(QStringLiteral("GOOD.BIN"), recordingOptions(40, 50, 2));
    open(good);
    ASSERT_TRUE(waitForFlags());
    control<QCheckBox>("CheckSearch")->click();
    AscanPort& port = window->display().port();
    port.set("SearchLowwidthRange", 0.0);
    port.set("SearchUpwidthRange", 800.0);
    port.set("SearchLowhightlimit", -1.0);
    port.set("SearchUphightlimit", 101.0);
    control<QPushButton>("cmdSearch")->click();
    const std::vector<int32_t> matches = window->search().results().matches();
    ASSERT_FALSE(matches.empty());
    control<TrackBar>("Slider")->setValue(7);
    const QString title = window->windowTitle();

    expectRefusedWithItsMessage(rejectedPath());

    ASSERT_TRUE(session().isOpen());
    EXPECT_EQ(session().recording->path(), good.toStdString());
    EXPECT_EQ(session().CurrentFrame, 7);
    EXPECT_EQ(control<TrackBar>("Slider")->value(), 7);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "7");
    EXPECT_EQ(window->windowTitle(), title);
    EXPECT_TRUE(control<QCheckBox>("CheckSearch")->isChecked());
    EXPECT_EQ(window->search().results().matches(), matches);
    for (const char* name : kEnabledByOpen)
        EXPECT_TRUE(widget(name)->isEnabled()) << name;
    // Still usable: a jump and a step of playback work on the same recording.
    control<QLineEdit>("txtFrameIdx")->setText("30");
    control<QRadioButton>("OptFrame")->setChecked(true);
    control<QPushButton>("cmdGo")->click();
    EXPECT_EQ(session().CurrentFrame, 30);
}

TEST_P(RejectedFile, KeepsPlayingAndNeverEndsTheProgram) {
    open(files.write(QStringLiteral("GOOD.BIN"), recordingOptions(40)));
    window->show();
    control<QPushButton>("cmdPlayStop")->click();
    ASSERT_TRUE(control<QTimer>("tmrPlay")->isActive());

    expectRefusedWithItsMessage(rejectedPath());

    EXPECT_TRUE(session().isOpen());
    EXPECT_TRUE(control<QTimer>("tmrPlay")->isActive());
    EXPECT_EQ(control<QPushButton>("cmdPlayStop")->text(), "Pause");
    QApplication::processEvents();
    EXPECT_TRUE(window->isVisible());
}

TEST_P(RejectedFile, BeforeAnyRecordingLeavesTheWindowAsItWas) {
    expectRefusedWithItsMessage(rejectedPath());
    EXPECT_FALSE(session().isOpen());
    EXPECT_EQ(window->windowTitle(), kAppTitle);
    expectNoRecordingControls();
    // Nothing to act on: the timer step and the slider do nothing harmful.
    playback().tmrPlay_Timer();
    playback().Slider_Change();
}

std::string headerOnly() {
    synth::RecordingSynth synth(recordingOptions(1));
    const auto header = synth.header();
    return std::string(reinterpret_cast<const char*>(header.data()), header.size()) + std::string(100, '\0');
}

std::string olderVersion() {
    auto options = recordingOptions(10);
    options.version = 5;
    std::ostringstream out;
    synth::RecordingSynth(options).write(out);
    return out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Files, RejectedFile,
    ::testing::Values(
        RejectCase{"TEXT.BIN", std::string(3000, 'x'), "File format is not correct", OpenResult::Rejected},
        RejectCase{"SHORT.BIN", std::string(10, '\0'), "File format is not correct", OpenResult::Rejected},
        RejectCase{"EMPTY.BIN", headerOnly(), "The recording holds no frames.", OpenResult::Rejected},
        RejectCase{"OLD.BIN", olderVersion(), "File format is not compatible.", OpenResult::Incompatible},
        // The reader's own reason, whatever its words.
        RejectCase{"FOLDER.BIN", std::string(), "", OpenResult::Rejected}),
    [](const auto& info) {
        return std::string(info.param.name).substr(0, std::string(info.param.name).find('.'));
    });

TEST_F(OpenSequenceTest, SecondOpenReplacesTheFirstAndKeepsPlaying) {
    open(files.write(QStringLiteral("FIRST.BIN"), recordingOptions(100)));
    control<TrackBar>("Slider")->setValue(80);
    control<QPushButton>("cmdPlayStop")->click();
    open(files.write(QStringLiteral("SECOND.BIN"), recordingOptions(12, 10)));
    EXPECT_EQ(session().FrameCount(), 12);
    EXPECT_EQ(session().CurrentFrame, 1);
    EXPECT_EQ(control<TrackBar>("Slider")->value(), 1);
    EXPECT_TRUE(control<QTimer>("tmrPlay")->isActive());
    // The timer runs at the new recording's normal speed.
    EXPECT_EQ(control<QTimer>("tmrPlay")->interval(), 100);
}

TEST_F(OpenSequenceTest, DroppedFileOpensWithoutTheDialog) {
    const QString path = files.write(QStringLiteral("DROP.BIN"), recordingOptions(25));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(path)});
    window->show();
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_EQ(dialogShown, 0);
    EXPECT_EQ(session().FrameCount(), 25);
    EXPECT_TRUE(window->windowTitle().endsWith("DROP.BIN"));
}

} // namespace
} // namespace pelix::player::test
