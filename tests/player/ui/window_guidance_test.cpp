// What the window does so that a reviewer is not left guessing: the open
// dialog returns to the last folder, six-digit frame numbers are shown whole,
// and the A-scan says why its gates cannot be dragged.
#include "player/window_test_support.h"

#include "platform/track_bar.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>

namespace pelix::player::test {
namespace {

class WindowGuidanceTest : public WindowTest {
  protected:
    QString fileIn(const QString& folder, const QString& name, int32_t frames = 20) {
        QDir().mkpath(files.filePath(folder));
        return files.write(folder + QLatin1Char('/') + name, recordingOptions(frames));
    }
    QString dialogStartedIn;
    void answerAndRecordTheFolder(const QString& answer) {
        platform::CommonDialog::setOpenAnswer([this, answer](const platform::CommonDialog& dialog) {
            dialogStartedIn = dialog.InitDir();
            return answer;
        });
    }
};

TEST_F(WindowGuidanceTest, TheOpenDialogStartsInTheLastFolderUsed) {
    const QString first = fileIn(QStringLiteral("day1"), QStringLiteral("A.BIN"));
    const QString second = fileIn(QStringLiteral("day2"), QStringLiteral("B.BIN"));
    const QString notRecording = files.writeBytes(QStringLiteral("day3.txt"), std::string(3000, 'x'));

    answerAndRecordTheFolder(first);
    control<QPushButton>("cmdOpen")->click();
    answerAndRecordTheFolder(second);
    control<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(dialogStartedIn, QFileInfo(first).absolutePath());
    // A file chosen but refused: the user was in its folder, so the dialog goes back there.
    answerAndRecordTheFolder(notRecording);
    control<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(dialogStartedIn, QFileInfo(second).absolutePath());
    answerAndRecordTheFolder(QString()); // cancelled: the folder stays
    control<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(dialogStartedIn, QFileInfo(notRecording).absolutePath());
    // A recording opened without the dialog (command line, dropped) counts as well.
    window->openRecording(first);
    control<QPushButton>("cmdOpen")->click();
    EXPECT_EQ(dialogStartedIn, QFileInfo(first).absolutePath());
    EXPECT_EQ(session().recording->path(), first.toStdString());
}

TEST_F(WindowGuidanceTest, SixDigitFrameNumbersAreShownWhole) {
    window->show();
    QApplication::processEvents();
    // The slider's end label at the largest frame numbers the window meets.
    auto* end = control<QLabel>("lblEnd");
    for (const char* number : {"999999", "888888"})
        EXPECT_LE(end->fontMetrics().horizontalAdvance(QString::fromLatin1(number)),
                  end->contentsRect().width())
            << number;
    // The longest list entry beside the list's scroll bar.
    auto* list = control<QListView>("lbSearchResult");
    const int room = list->width() - 2 * list->frameWidth() -
                     list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) - 2 * 4;
    EXPECT_LE(list->fontMetrics().horizontalAdvance(QStringLiteral("888888.  Frame 888888")), room);
}

TEST_F(WindowGuidanceTest, TheAscanSaysWhyGatesCannotBeDragged) {
    struct Case {
        int32_t bea;
        const char* tip;
    };
    for (const Case& c : {Case{1, "Gate dragging is off while gate B is marked by lines (BEA)"},
                          Case{2, "Gate dragging is off while BEA is set"}, Case{0, ""}}) {
        auto options = recordingOptions(10);
        options.evaluation.bea = c.bea;
        open(files.write(QStringLiteral("BEA%1.BIN").arg(c.bea), options));
        EXPECT_EQ(widget("Ascan")->toolTip(), c.tip) << c.bea;
    }
}

} // namespace
} // namespace pelix::player::test
