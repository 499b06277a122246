// The search in the main window: the check box, a search over a recording
// with planted echoes, the list and its clicks, the progress window, cancel.
#include "player/window_test_support.h"

#include "platform/progress_bar.h"
#include "platform/track_bar.h"
#include "platform/window_services.h"
#include "player/display/frame_display.h"
#include "player/search/frm_progress.h"
#include "player/search/search_controller.h"
#include "player/search/search_results.h"
#include "support/recording_files.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <filesystem>

namespace pelix::player::test {
namespace {

using namespace pelix::recording;

class SearchWindowTest : public WindowTest {
  protected:
    // A full-wave recording of `frames` frames with a 78 % echo at sample pair 100 in `echoes`.
    void openWithEchoes(int frames, std::initializer_list<int> echoes) {
        std::string bytes =
            pelix::testing::rawRecording(static_cast<std::size_t>(frames) * kFrameRecordBytes);
        pelix::testing::putBigEndian(bytes, rh::Rectification, 3);
        for (const int frame : echoes)
            bytes[kRecordingHeaderBytes + static_cast<std::size_t>(frame - 1) * kFrameRecordBytes +
                  kFrameHeaderBytes + 200] = static_cast<char>(200);
        open(files.writeBytes("echoes.BIN", bytes));
    }
    // Checks the box and sets the limits the way a drag of the box would leave them.
    void searchFor(double left, double right, double low, double high) {
        control<QCheckBox>("CheckSearch")->click();
        AscanPort& port = window->display().port();
        port.set("SearchLowwidthRange", left);
        port.set("SearchUpwidthRange", right);
        port.set("SearchLowhightlimit", low);
        port.set("SearchUphightlimit", high);
        control<QPushButton>("cmdSearch")->click();
    }
    QStringList entries() {
        QStringList texts;
        const QAbstractItemModel* model = control<QListView>("lbSearchResult")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            texts << model->index(row, 0).data().toString();
        return texts;
    }
    void clickEntry(int row) { window->search().lbSearchResult_Click(row); }

    static constexpr int32_t kLongFrames = 300000;
};

TEST_F(SearchWindowTest, TheCheckBoxShowsTheBoxAndEnablesTheButton) {
    openWithEchoes(10, {});
    auto* check = control<QCheckBox>("CheckSearch");
    EXPECT_FALSE(widget("cmdSearch")->isEnabled());
    check->click();
    EXPECT_TRUE(widget("cmdSearch")->isEnabled());
    EXPECT_TRUE(window->display().port().getBool("SearchSwitch"));
    EXPECT_FALSE(window->findChild<QWidget*>("SearchRange")->isHidden());
    check->click();
    EXPECT_FALSE(widget("cmdSearch")->isEnabled());
    EXPECT_FALSE(window->display().port().getBool("SearchSwitch"));
}

TEST_F(SearchWindowTest, ASearchListsTheMatchesAndAClickShowsOne) {
    openWithEchoes(40, {5, 12, 33});
    searchFor(95, 105, 70, 90);
    EXPECT_EQ(entries(), (QStringList{"1.  Frame 5", "2.  Frame 12", "3.  Frame 33"}));
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_TRUE(widget("cmdSearch")->isEnabled());
    EXPECT_TRUE(widget("Slider")->isEnabled());
    EXPECT_FALSE(window->search().progressWindow().isVisible());
    EXPECT_FALSE(platform::isTopmost(&window->search().progressWindow()));
    // The screen still shows frame 1, and the display's buffers still hold it.
    EXPECT_EQ(session().CurrentFrame, 1);
    EXPECT_EQ(window->display().trace().AscanPoints[100], 0);

    clickEntry(1);
    EXPECT_EQ(session().CurrentFrame, 12);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->value(), 12);
    EXPECT_EQ(control<QLineEdit>("txtFrameIdx")->text(), "12");
    EXPECT_EQ(window->display().trace().AscanPoints[100], 78);
    clickEntry(1); // the same frame again: shown again, nothing moves
    EXPECT_EQ(session().CurrentFrame, 12);
    // Moving through the list with the keys shows each entry's frame as well.
    auto* list = control<QListView>("lbSearchResult");
    list->setCurrentIndex(list->model()->index(2, 0));
    EXPECT_EQ(session().CurrentFrame, 33);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->value(), 33);
}

TEST_F(SearchWindowTest, NothingFoundSaysSoAndItsEntryDoesNothing) {
    openWithEchoes(20, {3});
    searchFor(95, 105, 78, 90); // the echo lies on the lower limit
    EXPECT_EQ(entries(), (QStringList{"Not found."}));
    clickEntry(0);
    EXPECT_EQ(session().CurrentFrame, 1);
}

TEST_F(SearchWindowTest, PlayingClearsTheCheckBoxAndTheList) {
    openWithEchoes(20, {3});
    searchFor(95, 105, 70, 90);
    ASSERT_EQ(entries().size(), 1);
    control<QPushButton>("cmdPlayStop")->click();
    EXPECT_FALSE(control<QCheckBox>("CheckSearch")->isChecked());
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_TRUE(window->search().results().matches().empty());
}

TEST_F(SearchWindowTest, EscapeCancelsAndKeepsTheFramesTestedInOrder) {
    openWithEchoes(6000, {});
    // Escape as soon as the first matches are listed; every frame matches (a
    // box round the quiet trace's zero line), so what is kept must be frames
    // 1, 2, 3 ... up to where the search stopped.
    int escapes = 0;
    QObject::connect(&window->search().results(), &QAbstractItemModel::rowsInserted, window.get(), [&] {
        if (escapes++ > 0) return;
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&window->search().progressWindow(), &escape);
    });
    searchFor(0, 10, -1, 1);
    EXPECT_GT(escapes, 0);
    EXPECT_TRUE(window->search().progressWindow().cancelRequested());
    const std::vector<int32_t>& matches = window->search().results().matches();
    ASSERT_FALSE(matches.empty());
    for (std::size_t i = 0; i < matches.size(); ++i)
        ASSERT_EQ(matches[i], static_cast<int32_t>(i + 1));
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_FALSE(window->search().progressWindow().isVisible());
    // Escape can come after the last frame was tested: then the search is whole.
    EXPECT_EQ(control<QLabel>("lblSearchSummary")->text(),
              matches.size() < 6000
                  ? QStringLiteral("Stopped at frame %1 of 6000: %1 matches").arg(matches.size())
                  : QStringLiteral("6000 matches"));
}

// Under the list a line tells a whole search from a cancelled one; the
// entries themselves stay as they are.
TEST_F(SearchWindowTest, TheLineUnderTheListCountsTheMatchesOfAWholeSearch) {
    openWithEchoes(40, {5, 12, 33});
    auto* line = control<QLabel>("lblSearchSummary");
    EXPECT_TRUE(line->text().isEmpty());
    searchFor(95, 105, 70, 90);
    EXPECT_EQ(line->text(), "3 matches");
    EXPECT_EQ(entries().size(), 3);

    control<QCheckBox>("CheckSearch")->click(); // unchecking clears list and line
    EXPECT_TRUE(line->text().isEmpty());
    EXPECT_TRUE(entries().isEmpty());
}

TEST_F(SearchWindowTest, TheLineSaysOneMatchAndNoMatch) {
    openWithEchoes(20, {3});
    searchFor(95, 105, 70, 90);
    EXPECT_EQ(control<QLabel>("lblSearchSummary")->text(), "1 match");
    control<QCheckBox>("CheckSearch")->click();
    searchFor(95, 105, 78, 90);
    EXPECT_EQ(entries(), (QStringList{"Not found."}));
    EXPECT_EQ(control<QLabel>("lblSearchSummary")->text(), "0 matches");
}

TEST_F(SearchWindowTest, TheCancelButtonStopsTheSearchAndTheLineSaysWhere) {
    // Quiet frames enough that the search is far from its end when Cancel is pressed.
    std::string header = pelix::testing::rawRecording(0);
    pelix::testing::putBigEndian(header, rh::Rectification, 3);
    const QString path = files.writeBytes("long.BIN", header);
    std::filesystem::resize_file(path.toStdString(),
                                 header.size() + std::size_t{kLongFrames} * kFrameRecordBytes);
    open(path);
    frmProgress& progress = window->search().progressWindow();
    QString progressSeen;
    int clicks = 0;
    QObject::connect(&window->search().results(), &QAbstractItemModel::rowsInserted, window.get(), [&] {
        if (clicks++ > 0) return;
        progressSeen = progress.progressLabel()->text();
        progress.cancelButton()->click();
    });
    searchFor(0, 10, -1, 1); // every frame matches
    ASSERT_GT(clicks, 0);
    EXPECT_TRUE(progress.cancelRequested());
    EXPECT_TRUE(progressSeen.startsWith("Frame ") &&
                progressSeen.contains(QStringLiteral(" of %1: ").arg(kLongFrames)))
        << progressSeen.toStdString();

    const std::size_t kept = window->search().results().matches().size();
    ASSERT_GT(kept, 0u);
    ASSERT_LT(kept, std::size_t{kLongFrames});
    // Every frame tested matched, so the frames searched are the matches kept.
    EXPECT_EQ(control<QLabel>("lblSearchSummary")->text(),
              QStringLiteral("Stopped at frame %1 of %2: %1 matches").arg(kept).arg(kLongFrames));
    EXPECT_EQ(entries().size(), static_cast<int>(kept));
    EXPECT_EQ(entries().constFirst(), "1.  Frame 1");
    EXPECT_EQ(progress.progressLabel()->text(),
              QStringLiteral("Frame %1 of %2: %1 matches").arg(kept).arg(kLongFrames));
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
    EXPECT_FALSE(progress.isVisible());
}

TEST_F(SearchWindowTest, ClosingTheWindowMidSearchStopsIt) {
    openWithEchoes(6000, {});
    int closes = 0;
    QObject::connect(&window->search().results(), &QAbstractItemModel::rowsInserted, window.get(), [&] {
        if (closes++ == 0) window->close();
    });
    searchFor(0, 10, -1, 1);
    EXPECT_EQ(closes, 1);
    EXPECT_FALSE(session().isOpen());
    EXPECT_FALSE(window->search().searching());
    EXPECT_EQ(playback().state(), playback::PlaybackState::Stopped);
}

TEST_F(SearchWindowTest, TheProgressWindowCentresOverTheMainWindowAndStaysOnTop) {
    window->setGeometry(100, 80, 990, 780);
    frmProgress& progress = window->search().progressWindow();
    progress.begin(500);
    EXPECT_EQ(progress.windowTitle(), "Searching...");
    EXPECT_TRUE(platform::isTopmost(&progress));
    EXPECT_EQ(progress.progressBar()->maximum(), 500);
    const QRect main = window->frameGeometry(), own = progress.frameGeometry();
    EXPECT_EQ(own.left(), main.left() + (main.width() - own.width()) / 2);
    EXPECT_EQ(own.top(), main.top() + (main.height() - own.height()) / 2);
    progress.end();
    EXPECT_FALSE(progress.isVisible());
    EXPECT_FALSE(platform::isTopmost(&progress));
}

TEST_F(SearchWindowTest, ASearchStartsOnlyWhenStopped) {
    openWithEchoes(20, {3});
    control<QCheckBox>("CheckSearch")->click();
    ASSERT_TRUE(playback().raise(playback::PlaybackEvent::VideoStarted));
    window->search().cmdSearch_Click();
    EXPECT_TRUE(entries().isEmpty());
    EXPECT_EQ(playback().state(), playback::PlaybackState::RecordingVideo);
}

} // namespace
} // namespace pelix::player::test
