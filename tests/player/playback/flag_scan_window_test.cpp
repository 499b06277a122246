// The window never waits for the flag index: frame 1 is on screen as soon as
// the file is checked, the flag controls follow when the background scan is
// done, and a newer recording or the window closing abandons the scan.
#include "player/window_test_support.h"

#include "core/recording/record_layout.h"
#include "platform/track_bar.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>
#include <fstream>

namespace pelix::player::test {
namespace {

using namespace pelix::recording;

constexpr const char* kFlagControls[] = {"OptFlag", "FlagUpDown", "txtFlagIdx"};

class FlagScanWindowTest : public WindowTest {
  protected:
    // A sparse recording of 1 GiB of quiet frames whose only flag is its last
    // frame: the scan reads the whole file before the index is known.
    QString farFlagRecording() {
        const QString path = files.filePath(QStringLiteral("FAR.BIN"));
        synth::SynthOptions options = recordingOptions(1);
        options.flagCount = 1;
        options.flaggedFrames = 0;
        const auto header = synth::RecordingSynth(options).header();
        {
            std::ofstream out(path.toStdString(), std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(header.data()),
                      static_cast<std::streamsize>(header.size()));
        }
        std::filesystem::resize_file(
            path.toStdString(), header.size() + static_cast<std::size_t>(kFarFrames) * kFrameRecordBytes);
        std::fstream patch(path.toStdString(), std::ios::binary | std::ios::in | std::ios::out);
        patch.seekp(static_cast<std::streamoff>(
            header.size() + static_cast<std::size_t>(kFarFrames - 1) * kFrameRecordBytes + fh::FrameFlag));
        patch.put(1);
        return path;
    }
    void expectFlagControls(bool enabled) {
        for (const char* name : kFlagControls)
            EXPECT_EQ(widget(name)->isEnabled(), enabled) << name;
    }

    static constexpr int32_t kFarFrames = (1 << 30) / static_cast<int32_t>(kFrameRecordBytes);
};

TEST_F(FlagScanWindowTest, FrameOneShowsBeforeTheScanAndTheFlagsFollow) {
    open(farFlagRecording());
    // Frame 1 is on screen and playable while the index is still being built.
    EXPECT_TRUE(window->findingFlags());
    EXPECT_EQ(session().CurrentFrame, 1);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->value(), 1);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->maximum(), kFarFrames);
    EXPECT_TRUE(widget("cmdPlayStop")->isEnabled());
    EXPECT_EQ(control<QRadioButton>("OptFlag")->text(), "Flag (1)");
    expectFlagControls(false);
    // A flag jump asked for meanwhile (the option was chosen before) waits; it is not refused.
    control<QRadioButton>("OptFlag")->setChecked(true);
    control<QPushButton>("cmdGo")->click();
    EXPECT_TRUE(messages.messages().empty());
    EXPECT_EQ(session().CurrentFrame, 1);

    ASSERT_TRUE(waitForFlags());
    expectFlagControls(true);
    control<QPushButton>("cmdGo")->click();
    EXPECT_EQ(session().CurrentFrame, kFarFrames);
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(FlagScanWindowTest, PlayingKeepsTheFlagControlsOffUntilTheIndexArrives) {
    open(farFlagRecording());
    control<QPushButton>("cmdPlayStop")->click();
    expectFlagControls(false);
    ASSERT_TRUE(waitForFlags());
    expectFlagControls(true); // navigation stays available while playing
    control<QPushButton>("cmdPlayStop")->click();
    expectFlagControls(true);
}

TEST_F(FlagScanWindowTest, AnotherRecordingOpenedMidScanGetsItsOwnFlags) {
    open(farFlagRecording());
    ASSERT_TRUE(window->findingFlags());
    open(files.write(QStringLiteral("NEAR.BIN"), recordingOptions(40, 50, 3)));
    ASSERT_TRUE(waitForFlags());
    // The abandoned scan's index never arrives, however long the window runs.
    QThread::msleep(50);
    QApplication::processEvents();
    EXPECT_EQ(session().FrameCount(), 40);
    EXPECT_EQ(control<QRadioButton>("OptFlag")->text(), "Flag (3)");
    expectFlagControls(true);
    const FlagIndex& flags = session().recording->flags();
    EXPECT_EQ(flags.found(), 3);
    for (int32_t k = 1; k <= 3; ++k)
        EXPECT_TRUE(flags.at(k) >= 1 && flags.at(k) <= 40) << k;
}

TEST_F(FlagScanWindowTest, ClosingTheWindowMidScanStopsIt) {
    open(farFlagRecording());
    ASSERT_TRUE(window->findingFlags());
    window->close();
    EXPECT_FALSE(window->findingFlags());
    EXPECT_FALSE(session().isOpen());
    QApplication::processEvents();
}

TEST_F(FlagScanWindowTest, AWindowDrawnOffScreenHasItsFlagsWhenTheOpenReturns) {
    window->showOffScreen();
    open(farFlagRecording());
    EXPECT_FALSE(window->findingFlags());
    expectFlagControls(true);
    EXPECT_EQ(session().recording->flags().at(1), kFarFrames);
}

} // namespace
} // namespace pelix::player::test
