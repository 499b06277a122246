// The keys that walk from mark to mark: each lands on the right frame of its
// own kind of mark, stops at the end with a word in the status line, and a
// letter typed into an entry box stays a letter.
#include "player/window_test_support.h"

#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/display/frame_display.h"
#include "player/overview/indications_panel.h"
#include "player/overview/overview_window.h"
#include "player/search/search_controller.h"
#include "player/search/search_results.h"
#include "player/ui/status_line.h"
#include "player/ui/window_keys.h"
#include "support/recording_files.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <vector>

namespace pelix::player::test {
namespace {

using pelix::recording::kFrameHeaderBytes;
using pelix::recording::kFrameRecordBytes;
using pelix::recording::kRecordingHeaderBytes;

class MarkKeysTest : public WindowTest {
  protected:
    // Presses the window's shortcut for `id` as the key would.
    void press(WindowKey id) {
        QShortcut* found = nullptr;
        for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
            if (s->key() == keyOf(id)) found = s;
        ASSERT_NE(found, nullptr);
        emit found->activated();
    }
    // Presses `id` `times` times and gives the frame each press landed on.
    std::vector<int32_t> walk(WindowKey id, int times) {
        std::vector<int32_t> frames;
        for (int i = 0; i < times; ++i) {
            press(id);
            frames.push_back(session().CurrentFrame);
        }
        return frames;
    }
    QString status() { return window->controls().lblStatus->text(); }
};

TEST_F(MarkKeysTest, BookmarkKeysWalkTheGivenMarksAndStopAtTheEnds) {
    open(files.write(QStringLiteral("MARKS.BIN"), recordingOptions(500)));
    // Out of order, one repeated, one beyond the last frame: the walk takes frames in order,
    // passes over the one outside the recording and stops at each end.
    window->showBookmarks({{300, "root", ""},
                           {40, "toe crack", ""},
                           {9000, "elsewhere", ""},
                           {300, "again", ""},
                           {120, "", ""}});
    window->jumpToFrame(1);
    EXPECT_EQ(walk(WindowKey::NextBookmark, 4), (std::vector<int32_t>{40, 120, 300, 300}));
    EXPECT_EQ(status(), QStringLiteral("No next bookmark."));
    EXPECT_EQ(walk(WindowKey::PreviousBookmark, 4), (std::vector<int32_t>{120, 40, 40, 40}));
    EXPECT_EQ(status(), QStringLiteral("No previous bookmark."));
    // The line names the bookmark reached, by its row in the list.
    press(WindowKey::NextBookmark);
    EXPECT_EQ(status(), QStringLiteral("Bookmark 5 of 5"));
    press(WindowKey::NextBookmark);
    EXPECT_EQ(status(), QStringLiteral("Bookmark 1 of 5: root"));

    // During playback the key stops it, as a drag of the slider does.
    window->jumpToFrame(1);
    window->controls().cmdPlayStop->click();
    ASSERT_TRUE(window->controls().tmrPlay->isActive());
    press(WindowKey::NextBookmark);
    EXPECT_FALSE(window->controls().tmrPlay->isActive());
    EXPECT_EQ(session().CurrentFrame, 40);

    // The overview and the B-scan answer the same keys.
    for (QWidget* tool :
         {static_cast<QWidget*>(&window->overview()), static_cast<QWidget*>(&window->bscan())}) {
        window->jumpToFrame(1);
        QShortcut* next = nullptr;
        for (QShortcut* s : tool->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
            if (s->key() == keyOf(WindowKey::NextBookmark)) next = s;
        ASSERT_NE(next, nullptr) << tool->objectName().toStdString();
        emit next->activated();
        EXPECT_EQ(session().CurrentFrame, 40) << tool->objectName().toStdString();
    }

    // Bookmarks taken away: nothing to walk to.
    window->showBookmarks({});
    press(WindowKey::PreviousBookmark);
    EXPECT_EQ(session().CurrentFrame, 40);
    EXPECT_EQ(status(), QStringLiteral("No previous bookmark."));
}

TEST_F(MarkKeysTest, FlagKeysWalkTheFlagsTheRecordingHolds) {
    open(files.write(QStringLiteral("FLAGS.BIN"), recordingOptions(600, 50, 4)));
    ASSERT_TRUE(waitForFlags());
    const recording::FlagIndex& flags = session().recording->flags();
    ASSERT_EQ(flags.found(), 4);
    std::vector<int32_t> sorted;
    for (int32_t k = 1; k <= 4; ++k)
        sorted.push_back(flags.at(k));
    std::sort(sorted.begin(), sorted.end());
    window->jumpToFrame(1);
    EXPECT_EQ(walk(WindowKey::NextFlag, 4), sorted);
    press(WindowKey::NextFlag);
    EXPECT_EQ(session().CurrentFrame, sorted.back());
    EXPECT_EQ(status(), QStringLiteral("No next flag."));
    window->jumpToFrame(600);
    EXPECT_EQ(walk(WindowKey::PreviousFlag, 1).front(), sorted.back());
}

TEST_F(MarkKeysTest, MatchKeysWalkTheLastSearchsMatches) {
    std::string bytes = pelix::testing::rawRecording(40 * kFrameRecordBytes);
    pelix::testing::putBigEndian(bytes, recording::rh::Rectification, 3);
    for (const int frame : {5, 12, 33})
        bytes[kRecordingHeaderBytes + static_cast<std::size_t>(frame - 1) * kFrameRecordBytes +
              kFrameHeaderBytes + 200] = static_cast<char>(200);
    open(files.writeBytes(QStringLiteral("echoes.BIN"), bytes));
    press(WindowKey::NextSearchMatch);
    EXPECT_EQ(session().CurrentFrame, 1);
    EXPECT_EQ(status(), QStringLiteral("No next search match."));

    control<QCheckBox>("CheckSearch")->click();
    AscanPort& port = window->display().port();
    port.set("SearchLowwidthRange", 95.0);
    port.set("SearchUpwidthRange", 105.0);
    port.set("SearchLowhightlimit", 70.0);
    port.set("SearchUphightlimit", 90.0);
    control<QPushButton>("cmdSearch")->click();
    ASSERT_EQ(window->search().results().matches(), (std::vector<int32_t>{5, 12, 33}));
    EXPECT_EQ(walk(WindowKey::NextSearchMatch, 3), (std::vector<int32_t>{5, 12, 33}));
    EXPECT_EQ(status(), QStringLiteral("Search match 3 of 3"));
    EXPECT_EQ(walk(WindowKey::PreviousSearchMatch, 3), (std::vector<int32_t>{12, 5, 5}));
}

TEST_F(MarkKeysTest, IndicationKeysWalkThePeaksTheOverviewLists) {
    open(files.write(QStringLiteral("PEAKS.BIN"), recordingOptions(300)));
    // The overview closed and its list empty, the line says where the indications come from.
    press(WindowKey::NextIndication);
    EXPECT_EQ(status(), QStringLiteral("No next indication. The overview lists them (Ctrl+Shift+O)."));
    auto found = std::make_shared<std::vector<indications::Indication>>();
    // Runs with their peaks; the walk goes by peak, not by the run's start.
    found->push_back({20, 40, 35, 80, 18, 44});
    found->push_back({100, 160, 101, 90, 100, 170});
    found->push_back({250, 260, 255, 70, 248, 262});
    window->overview().indications().setIndications(found, 50);
    window->jumpToFrame(36);
    EXPECT_EQ(walk(WindowKey::NextIndication, 3), (std::vector<int32_t>{101, 255, 255}));
    EXPECT_EQ(walk(WindowKey::PreviousIndication, 3), (std::vector<int32_t>{101, 35, 35}));
    EXPECT_EQ(status(), QStringLiteral("No previous indication."));
}

// A key of the walk is a plain letter: in an entry box it types, it does not jump.
TEST_F(MarkKeysTest, LettersTypedIntoAnEntryBoxStayText) {
    open(files.write(QStringLiteral("TYPE.BIN"), recordingOptions(200)));
    window->showBookmarks({{150, "b", ""}});
    auto* box = control<QLineEdit>("txtFrameIdx");
    for (const WindowKey id : {WindowKey::NextFlag, WindowKey::NextBookmark, WindowKey::NextSearchMatch,
                               WindowKey::NextIndication, WindowKey::PreviousBookmark}) {
        const QKeyCombination key = keyOf(id)[0];
        const QString text = key.keyboardModifiers() & Qt::ShiftModifier
                                 ? QString(QChar(static_cast<int>(key.key()))).toUpper()
                                 : QString(QChar(static_cast<int>(key.key()))).toLower();
        // Before a shortcut answers a key, the widget with the focus is asked whether it takes
        // the key itself; an entry box takes every key that types.
        QKeyEvent override(QEvent::ShortcutOverride, key.key(), key.keyboardModifiers(), text);
        override.ignore();
        QApplication::sendEvent(box, &override);
        EXPECT_TRUE(override.isAccepted()) << text.toStdString();
    }
    EXPECT_EQ(session().CurrentFrame, 1);
}

} // namespace
} // namespace pelix::player::test
