// The window's HDF5 export: chosen by its file type in the "Save as AVI"
// dialog, written in the background from the marked range, said in the status
// line; a failure is said in a message box and leaves no file.
#include "player/window_test_support.h"
#include "support/hdf5_read.h"

#include "platform/track_bar.h"
#include "player/export/avi_export.h"
#include "player/export/hdf5_export.h"
#include "player/ui/status_line.h"

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <array>
#include <vector>

namespace pelix::player::test {
namespace {

class SaveAsHdf5Test : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        platform::setSaveAnswer([this](const platform::SaveRequest&) { return saveAnswer; });
        ASSERT_TRUE(out.isValid());
        open(files.write(QStringLiteral("SCAN.BIN"), recordingOptions(40)));
    }
    void TearDown() override {
        WindowTest::TearDown();
        platform::setSaveAnswer({});
    }
    void markRange(int32_t from, int32_t to) {
        control<platform::TrackBar>("Slider")->setValue(from);
        control<QCheckBox>("AVI_Select")->click();
        control<QRadioButton>("optEnd")->click();
        control<platform::TrackBar>("Slider")->setValue(to);
    }

    QTemporaryDir out;
    QString saveAnswer;
};

TEST_F(SaveAsHdf5Test, TheMarkedRangeIsWrittenWithoutPlayingIt) {
    markRange(5, 12);
    saveAnswer = out.filePath(QStringLiteral("range.H5"));
    std::vector<std::array<int, 2>> written;
    QObject::connect(&window->hdf5Export(), &Hdf5Export::written, [&](const QString&, int first, int last) {
        written.push_back({first, last});
    });
    control<QPushButton>("cmdSaveAs")->click();
    EXPECT_NE(playback().state(), playback::PlaybackState::RecordingVideo) << "no video is recorded";
    EXPECT_TRUE(window->hdf5Export().running());
    window->hdf5Export().wait();
    ASSERT_EQ(written.size(), 1U) << messages.texts().join('|').toStdString();
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(written.front(), (std::array<int, 2>{5, 12}));
    EXPECT_TRUE(
        control<StatusLine>("lblStatus")->toolTip().startsWith("HDF5 file of frames 5 to 12 written to"))
        << control<StatusLine>("lblStatus")->toolTip().toStdString();

    pelix::testing::Hdf5Reader h5(saveAnswer.toStdString());
    ASSERT_TRUE(h5.ok());
    EXPECT_EQ(h5.ints("/frames/number"), (std::vector<int32_t>{5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files), QStringList{QStringLiteral("range.H5")});
}

TEST_F(SaveAsHdf5Test, AFailureIsToldAndLeavesNoFile) {
    markRange(1, 40);
    saveAnswer = out.filePath(QStringLiteral("missing/range.hdf5"));
    control<QPushButton>("cmdSaveAs")->click();
    window->hdf5Export().wait();
    ASSERT_EQ(messages.texts().size(), 1);
    EXPECT_TRUE(messages.texts().front().startsWith("HDF5 export error.\n\n"))
        << messages.texts().front().toStdString();
    EXPECT_TRUE(messages.texts().front().contains("does not exist; nothing written"))
        << messages.texts().front().toStdString();
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
} // namespace pelix::player::test
