// The bookmarks as the tool windows show them: the overview's list (rows,
// out-of-range marks, clicks, edit and delete by index), the marks on the
// overview strip and above the B-scan, the bookmark named under the pointer,
// and ten thousand of them at once.
#include "player/window_test_support.h"

#include "core/overview/overview_columns.h"
#include "core/report/report_summary.h"
#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/overview/bookmark_marks.h"
#include "player/overview/bookmark_table.h"
#include "player/overview/bookmarks_panel.h"
#include "player/overview/overview_window.h"

#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include <cstdio>
#include <string>
#include <vector>

namespace pelix::player::test {
namespace {

using overview::BookmarkMarks;
using overview::BookmarkTable;
using review::Bookmark;

std::shared_ptr<const std::vector<Bookmark>> shared(std::vector<Bookmark> marks) {
    return std::make_shared<const std::vector<Bookmark>>(std::move(marks));
}

// The first bookmark of a span is the first in the list, however the list is ordered.
TEST(BookmarkMarks, FindsTheFirstInTheListOnAnySpanAndLeavesOutThoseBeyondTheRecording) {
    const BookmarkMarks marks(shared({{70, "c", ""},
                                      {20, "a", ""},
                                      {0, "zero", ""},
                                      {70, "d", ""},
                                      {int64_t{1} << 40, "far", ""},
                                      {101, "past", ""},
                                      {100, "last", ""}}),
                              100);
    EXPECT_EQ(marks.frames(), (std::vector<int32_t>{20, 70, 70, 100}));
    EXPECT_EQ(marks.outOfRange(), 3u);
    struct Span {
        int32_t first, last;
        std::size_t index, count;
    };
    for (const Span s : {Span{1, 100, 0, 4}, Span{70, 70, 0, 2}, Span{21, 99, 0, 2}, Span{100, 200, 6, 1}}) {
        const auto found = marks.between(s.first, s.last);
        ASSERT_TRUE(found.has_value()) << s.first << ".." << s.last;
        EXPECT_EQ(found->index, s.index) << s.first << ".." << s.last;
        EXPECT_EQ(found->count, s.count) << s.first << ".." << s.last;
    }
    EXPECT_FALSE(marks.between(21, 69).has_value());
    EXPECT_FALSE(marks.between(50, 40).has_value());
    EXPECT_EQ(overview::bookmarkHoverText(marks, 60, 80),
              QStringLiteral("Bookmark 1 (frame 70): c and 1 more"));
    EXPECT_EQ(overview::bookmarkHoverText(marks, 21, 69), QString());
    EXPECT_TRUE(BookmarkMarks().frames().empty());
}

class BookmarksViewTest : public WindowTest {
  protected:
    overview::BookmarksPanel& panel() { return window->overview().bookmarks(); }
    QTableView& list() { return panel().view(); }
    QString cell(int row, int column) { return list().model()->index(row, column).data().toString(); }
    void clickRow(int row, QEvent::Type last = QEvent::MouseButtonRelease) {
        list().scrollTo(list().model()->index(row, 0));
        const QPoint at = list().visualRect(list().model()->index(row, 0)).center();
        for (const QEvent::Type type : {QEvent::MouseButtonPress, last}) {
            QMouseEvent e(type, QPointF(at), list().viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(list().viewport(), &e);
        }
    }
    const overview::OverviewSeries* waitForSeries() {
        QElapsedTimer t;
        t.start();
        while (!window->overview().strip().series() && t.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return window->overview().strip().series();
    }
    bool waitForBscan() {
        QElapsedTimer t;
        t.start();
        while ((!window->bscan().view().hasPicture() || window->bscan().scanner().running()) &&
               t.elapsed() < 30000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return window->bscan().view().hasPicture();
    }
};

TEST_F(BookmarksViewTest, TheListShowsEveryBookmarkOnOneLineAndGreysThoseBeyondTheRecording) {
    open(files.write(QStringLiteral("LIST.BIN"), recordingOptions(500, 50)));
    window->showBookmarks({{50, "weld root\nsecond\tline", "2026-12-08T12:57:21Z"},
                           {600, "beyond", ""},
                           {120, std::string(100000, 'x'), ""}});
    ASSERT_EQ(list().model()->rowCount(), 3);
    EXPECT_EQ(cell(0, BookmarkTable::Frame), QStringLiteral("50"));
    EXPECT_EQ(cell(0, BookmarkTable::Time), QString::fromStdString(report::frameTimeText(50, 50)));
    EXPECT_EQ(cell(0, BookmarkTable::Note), QStringLiteral("weld root second line"));
    EXPECT_EQ(cell(1, BookmarkTable::Frame), QStringLiteral("600"));
    EXPECT_EQ(cell(1, BookmarkTable::Time), QStringLiteral("out of range"));
    EXPECT_TRUE(list().model()->index(1, BookmarkTable::Note).data(Qt::ForegroundRole).isValid());
    EXPECT_FALSE(list().model()->index(0, BookmarkTable::Note).data(Qt::ForegroundRole).isValid());
    const QString longNote = cell(2, BookmarkTable::Note);
    EXPECT_LE(longNote.size(), 200);
    EXPECT_TRUE(longNote.endsWith(QStringLiteral("\u2026")));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblBookmarks"))->text(),
              QStringLiteral("3 bookmarks, 1 out of range."));
    // Marked where they point into the recording; the one beyond it is listed only.
    EXPECT_EQ(window->overview().strip().marks().bookmarks, (std::vector<int32_t>{50, 120}));
    EXPECT_EQ(window->bscan().view().marks().bookmarks, (std::vector<int32_t>{50, 120}));

    // A longer recording holds frame 600: the same list, now all of it in range.
    open(files.write(QStringLiteral("LONG.BIN"), recordingOptions(700, 50)));
    EXPECT_EQ(cell(1, BookmarkTable::Time), QString::fromStdString(report::frameTimeText(600, 50)));
    EXPECT_EQ(window->overview().strip().marks().bookmarks, (std::vector<int32_t>{50, 120, 600}));
    EXPECT_EQ(window->bscan().view().marks().bookmarks, (std::vector<int32_t>{50, 120, 600}));
}

TEST_F(BookmarksViewTest, AClickShowsTheFrameAndEditAndDeleteNameTheRow) {
    open(files.write(QStringLiteral("CLICK.BIN"), recordingOptions(500, 50)));
    window->showBookmarks({{50, "a", ""}, {9000, "beyond", ""}, {120, "c", ""}});
    std::vector<int> edits, deletes;
    QObject::connect(window.get(), &frmPlayer::bookmarkEditRequested, window.get(),
                     [&](int index) { edits.push_back(index); });
    QObject::connect(window.get(), &frmPlayer::bookmarkDeleteRequested, window.get(),
                     [&](int index) { deletes.push_back(index); });
    window->toggleOverview();

    // A click stops playback, as the strip's and the indications' clicks do, and shows the frame.
    window->controls().cmdPlayStop->click();
    ASSERT_TRUE(window->controls().tmrPlay->isActive());
    clickRow(2);
    EXPECT_FALSE(window->controls().tmrPlay->isActive());
    EXPECT_EQ(session().CurrentFrame, 120);
    EXPECT_EQ(window->controls().Slider->value(), 120);
    // A bookmark beyond the recording shows nothing.
    clickRow(1);
    EXPECT_EQ(session().CurrentFrame, 120);

    auto* edit = control<QPushButton>("cmdEditBookmark");
    auto* remove = control<QPushButton>("cmdDeleteBookmark");
    EXPECT_TRUE(edit->isEnabled());
    edit->click();
    remove->click();
    clickRow(0, QEvent::MouseButtonDblClick);
    QShortcut* deleteKey = list().findChild<QShortcut*>();
    ASSERT_NE(deleteKey, nullptr);
    EXPECT_EQ(deleteKey->key(), QKeySequence(QKeySequence::Delete));
    emit deleteKey->activated();
    EXPECT_EQ(edits, (std::vector<int>{1, 0}));
    EXPECT_EQ(deletes, (std::vector<int>{1, 0}));

    // The list given anew after an edit keeps the row selected; with nothing selected the
    // buttons ask for nothing.
    window->showBookmarks({{50, "a", ""}, {120, "c", ""}});
    EXPECT_EQ(panel().selectedRow(), 0);
    window->showBookmarks({});
    EXPECT_EQ(panel().selectedRow(), -1);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblBookmarks"))->text(),
              QStringLiteral("No bookmarks."));
}

// The marks are drawn on the strip's top band and above the B-scan's cells, in their own
// colour, at the bookmarked frames' columns only; the status line names the one pointed at.
TEST_F(BookmarksViewTest, MarksAreDrawnAtTheirColumnsAndNamedUnderThePointer) {
    constexpr int32_t kFrames = 2000;
    open(files.write(QStringLiteral("MARKS.BIN"), recordingOptions(kFrames, 50)));
    window->showBookmarks({{400, "toe", ""}, {1500, "root", ""}, {kFrames + 1, "beyond", ""}});
    window->toggleOverview();
    window->toggleBscan();
    ASSERT_NE(waitForSeries(), nullptr);
    ASSERT_TRUE(waitForBscan());

    overview::OverviewStrip& strip = window->overview().strip();
    const QImage picture = strip.grab().toImage();
    const QRect plot = overview::plotArea(strip.rect());
    const auto stripX = [&](int32_t frame) {
        return plot.left() + overview::columnOfFrame(frame, plot.width(), kFrames);
    };
    const QRgb gold = overview::bookmarkColour().rgb();
    const auto goldAt = [&](const QImage& image, int x, int y) {
        const double ratio = image.devicePixelRatio();
        return image.pixel(static_cast<int>(x * ratio), static_cast<int>(y * ratio)) == gold;
    };
    EXPECT_TRUE(goldAt(picture, stripX(400), 2));
    EXPECT_TRUE(goldAt(picture, stripX(1500), 2));
    EXPECT_FALSE(goldAt(picture, stripX(1000), 2));
    EXPECT_FALSE(goldAt(picture, plot.right(), 2)) << "the mark beyond the recording is not drawn";

    bscan::BscanView& view = window->bscan().view();
    const QImage bscan = view.grab().toImage();
    const bscan::BscanColumns columns = view.columns();
    const auto bscanX = [&](int32_t frame) {
        const bscan::ColumnRange span = columns.columnsOf(frame);
        return static_cast<int>((columns.xOf(span.first) + columns.xOf(span.last + 1)) / 2.0);
    };
    const int above = view.cellsRect().top() - 5;
    EXPECT_TRUE(goldAt(bscan, bscanX(400), above));
    EXPECT_TRUE(goldAt(bscan, bscanX(1500), above));
    EXPECT_FALSE(goldAt(bscan, bscanX(1000), above));

    // The pointer over a mark's column names it in each window's status line.
    const auto hover = [](QWidget& w, QPoint at) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), w.mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &move);
    };
    hover(strip, QPoint(stripX(1500), plot.center().y()));
    EXPECT_TRUE(window->overview()
                    .findChild<QLabel*>(QStringLiteral("lblOverviewStatus"))
                    ->text()
                    .endsWith(QStringLiteral("Bookmark 2 (frame 1500): root")));
    hover(view, QPoint(bscanX(400), view.cellsRect().center().y()));
    EXPECT_TRUE(window->bscan()
                    .findChild<QLabel*>(QStringLiteral("lblBscanStatus"))
                    ->text()
                    .endsWith(QStringLiteral("Bookmark 1 (frame 400): toe")));
    hover(view, QPoint(bscanX(1000), view.cellsRect().center().y()));
    EXPECT_FALSE(window->bscan()
                     .findChild<QLabel*>(QStringLiteral("lblBscanStatus"))
                     ->text()
                     .contains(QStringLiteral("Bookmark")));
}

// Ten thousand bookmarks (a review file's worth) listed and marked without a stall.
TEST_F(BookmarksViewTest, TenThousandBookmarksAreShownAtOnce) {
    constexpr int32_t kFrames = 4000;
    open(files.write(QStringLiteral("MANY.BIN"), recordingOptions(kFrames, 50)));
    window->toggleOverview();
    ASSERT_NE(waitForSeries(), nullptr);
    std::vector<Bookmark> marks;
    for (int32_t i = 0; i < 10000; ++i)
        marks.push_back({1 + i % kFrames, "note " + std::to_string(i) + std::string(300, '.'), ""});
    // What the window's drawing costs without them, then what they add.
    QElapsedTimer clock;
    clock.start();
    window->overview().grab();
    const qint64 without = clock.restart();
    window->showBookmarks(marks);
    const qint64 given = clock.restart();
    window->overview().grab();
    const qint64 drawn = clock.elapsed();
    std::printf(
        "10,000 bookmarks: handed over in %lld ms, overview drawn in %lld ms (%lld ms without them)\n",
        static_cast<long long>(given), static_cast<long long>(drawn), static_cast<long long>(without));
    const qint64 elapsed = given + drawn;
    EXPECT_EQ(list().model()->rowCount(), 10000);
    EXPECT_EQ(window->overview().strip().marks().bookmarks.size(), 10000u);
    // Generous for a shared machine under the sanitizers; a stall would be many seconds.
    EXPECT_LT(elapsed, 3000);
}

} // namespace
} // namespace pelix::player::test
