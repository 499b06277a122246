// The B-scan tool window driving and following the player: opened by its
// shortcut and by `--bscan`, scanned in the background, its cursor on the
// frame the slider shows, a click showing a frame, a drag zooming to the
// frames under it and back, a resize read again at the new size, and closing
// abandoning a scan.
#include "platform/message_service.h"
#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/display_test_support.h"
#include "player/overview/overview_window.h"
#include "player/playback/player_session.h"
#include "player/ui/frm_player.h"
#include "player/ui/start_options.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace pelix::bscan {
namespace {

class BscanWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        player::test::ensureApplication();
        messages = std::make_unique<platform::MessageLog>();
        window = std::make_unique<frmPlayer>();
        ASSERT_TRUE(window->ascanError().isEmpty());
    }
    void TearDown() override {
        window.reset();
        messages.reset();
    }
    static QString scan() { return QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN"); }
    // Opens the sample with the B-scan showing; `shown` waits for its first picture.
    BscanWindow& openWithBscan(bool shown = true) {
        EXPECT_EQ(window->openRecording(scan()), player::OpenResult::Opened);
        window->toggleBscan();
        n = window->session().FrameCount();
        if (shown) {
            EXPECT_NE(waitForCells(window->bscan(), 1, n), nullptr);
        }
        return window->bscan();
    }

    static bool waitUntil(const std::function<bool()>& done, int ms = 30000) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    // Waits for the window's scan of frames first..last to be on screen.
    static const BscanGrid* waitForCells(BscanWindow& w, int32_t first, int32_t last) {
        waitUntil([&] {
            const auto& grid = w.view().picture().grid;
            return !w.scanner().running() && grid && grid->from() == first && grid->to() == last;
        });
        return w.view().picture().grid.get();
    }
    static void mouse(QWidget& w, QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, w.mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      buttons, Qt::NoModifier);
        QApplication::sendEvent(&w, &e);
    }
    static void click(QWidget& w, QPointF at) {
        mouse(w, QEvent::MouseButtonPress, at, Qt::LeftButton);
        mouse(w, QEvent::MouseButtonRelease, at, Qt::NoButton);
    }
    static void drag(QWidget& w, QPointF from, QPointF to) {
        mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton);
        mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
        mouse(w, QEvent::MouseMove, to, Qt::LeftButton);
        mouse(w, QEvent::MouseButtonRelease, to, Qt::NoButton);
    }
    // The middle of column `column` of the view's cells, halfway down.
    static QPointF columnMiddle(BscanView& v, int32_t column) {
        const BscanColumns c = v.columns();
        return {(c.xOf(column) + c.xOf(column + 1)) / 2.0, v.cellsRect().center().y() + 0.5};
    }

    std::unique_ptr<platform::MessageLog> messages;
    std::unique_ptr<frmPlayer> window;
    int32_t n = 0; // frames of the recording open
};

TEST_F(BscanWindowTest, StartOptionsAskForTheWindows) {
    const auto parsed = [](QStringList words) {
        words.prepend(QStringLiteral("PelixPlayer"));
        return player::parseStartOptions(words);
    };
    const player::StartOptions bscan = parsed({"--bscan", "A.BIN"});
    EXPECT_TRUE(bscan.valid && bscan.bscan && !bscan.overview);
    EXPECT_EQ(bscan.file, QStringLiteral("A.BIN"));
    const player::StartOptions plain = parsed({"A.BIN"});
    EXPECT_TRUE(plain.valid && !plain.bscan && !plain.overview);
    EXPECT_TRUE(parsed({}).valid);
    for (const QStringList& refused :
         {QStringList{"--bscan"}, QStringList{"--bscan", "-x"}, QStringList{"--bscan", "A.BIN", "B.BIN"},
          QStringList{"A.BIN", "--bscan"}, QStringList{"--b-scan", "A.BIN"}, QStringList{"A.BIN", "B.BIN"}})
        EXPECT_FALSE(parsed(refused).valid) << refused.join(' ').toStdString();
}

TEST_F(BscanWindowTest, BscanOptionOpensTheWindowBesideThePlayerAndScansTheRecording) {
    frmPlayer& window = *this->window;
    const player::StartOptions start =
        player::parseStartOptions({QStringLiteral("PelixPlayer"), QStringLiteral("--bscan"), scan()});
    ASSERT_EQ(window.openRecording(start.file), player::OpenResult::Opened);
    // Hidden, it reads nothing.
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.bscan().scanner().running());
    EXPECT_FALSE(window.bscan().view().hasPicture());

    player::showStartWindows(window, start);
    BscanWindow& b = window.bscan();
    EXPECT_TRUE(b.isVisible());
    EXPECT_FALSE(window.overview().isVisible());
    n = window.session().FrameCount();
    const BscanGrid* grid = waitForCells(b, 1, n);
    ASSERT_NE(grid, nullptr);
    // One cell a device pixel of the cells' rectangle.
    EXPECT_EQ(QSize(grid->width(), grid->height()), b.view().wantedCells());
    EXPECT_EQ(b.view().picture().gates.size(), static_cast<std::size_t>(grid->width()));

    // The shortcut closes it, and opens it again, from either window.
    window.toggleBscan();
    EXPECT_FALSE(b.isVisible());
    window.toggleBscan();
    EXPECT_TRUE(b.isVisible());
}

TEST_F(BscanWindowTest, CursorFollowsTheSliderAndAClickShowsTheFrameOfItsColumn) {
    frmPlayer& window = *this->window;
    BscanWindow& b = openWithBscan();
    BscanView& view = b.view();

    window.controls().Slider->setValue(1234);
    EXPECT_EQ(view.marks().cursorFrame, 1234);

    const BscanColumns c = view.columns();
    for (const int32_t column : {0, c.columns / 3, c.columns - 1}) {
        const QPointF at = columnMiddle(view, column);
        click(view, at);
        EXPECT_EQ(window.session().CurrentFrame, c.frameAt(at.x())) << column;
        EXPECT_EQ(window.controls().Slider->value(), c.frameAt(at.x()));
        EXPECT_EQ(view.marks().cursorFrame, c.frameAt(at.x()));
    }
    click(view, columnMiddle(view, 0));
    EXPECT_EQ(window.session().CurrentFrame, 1);

    // During playback a click stops it, as a drag of the slider does.
    window.controls().cmdPlayStop->click();
    ASSERT_TRUE(window.controls().tmrPlay->isActive());
    click(view, columnMiddle(view, c.columns - 1));
    EXPECT_FALSE(window.controls().tmrPlay->isActive());
    EXPECT_EQ(window.session().CurrentFrame, n);
}

TEST_F(BscanWindowTest, ADragZoomsToTheFramesOfItsColumnsAndADoubleClickGoesBack) {
    frmPlayer& window = *this->window;
    BscanWindow& b = openWithBscan();
    BscanView& view = b.view();
    const int32_t frameBefore = window.session().CurrentFrame;

    // From right to left over a tenth of the columns: the frames of those columns, read afresh.
    const BscanColumns whole = view.columns();
    const int32_t c1 = whole.columns / 5, c2 = c1 + whole.columns / 10;
    const FrameSpan expected = whole.framesBetween(columnMiddle(view, c1).x(), columnMiddle(view, c2).x());
    EXPECT_EQ(expected.first, 1 + static_cast<int32_t>(int64_t{c1} * n / whole.columns));
    EXPECT_EQ(expected.last, static_cast<int32_t>((int64_t{c2} + 1) * n / whole.columns));
    drag(view, columnMiddle(view, c2), columnMiddle(view, c1));
    EXPECT_EQ(b.range().first, expected.first);
    EXPECT_EQ(b.range().last, expected.last);
    EXPECT_EQ(window.session().CurrentFrame, frameBefore); // a drag shows no frame
    const BscanGrid* zoomed = waitForCells(b, expected.first, expected.last);
    ASSERT_NE(zoomed, nullptr);
    EXPECT_EQ(zoomed->width(), view.wantedCells().width());
    auto* wholeButton = b.findChild<QPushButton*>(QStringLiteral("cmdBscanWhole"));
    ASSERT_NE(wholeButton, nullptr);
    EXPECT_TRUE(wholeButton->isEnabled());

    // The cursor stands where the zoomed columns show the frame, and a click shows a frame of the zoom.
    window.controls().Slider->setValue(expected.first);
    EXPECT_EQ(view.columns().columnsOf(expected.first).first, 0);
    click(view, columnMiddle(view, view.columns().columns - 1));
    EXPECT_EQ(window.session().CurrentFrame, expected.last);

    // A double-click, and the button, go back to every frame.
    const QPointF middle = view.cellsRect().center();
    click(view, middle);
    mouse(view, QEvent::MouseButtonDblClick, middle, Qt::LeftButton);
    mouse(view, QEvent::MouseButtonRelease, middle, Qt::NoButton);
    ASSERT_NE(waitForCells(b, 1, n), nullptr);
    EXPECT_FALSE(wholeButton->isEnabled());
    drag(view, columnMiddle(view, 10), columnMiddle(view, 20));
    ASSERT_NE(waitForCells(b, b.range().first, b.range().last), nullptr);
    wholeButton->click();
    ASSERT_NE(waitForCells(b, 1, n), nullptr);
}

TEST_F(BscanWindowTest, AResizeIsReadAgainAtTheNewSizeOnceItSettles) {
    BscanWindow& b = openWithBscan(false);
    b.resize(700, 400);
    ASSERT_NE(waitForCells(b, 1, n), nullptr);
    ASSERT_TRUE(waitUntil([&] { return b.scannedCells() == b.view().wantedCells(); }));
    const QSize before = b.scannedCells();

    // Several steps in quick succession: the old picture stretches until the size settles, then one scan.
    for (const int width : {760, 820, 880, 940})
        b.resize(width, 520);
    QCoreApplication::processEvents();
    EXPECT_EQ(b.scannedCells(), before);
    const QSize wanted = b.view().wantedCells();
    ASSERT_NE(wanted, before);
    ASSERT_TRUE(waitUntil([&] {
        const auto& grid = b.view().picture().grid;
        return !b.scanner().running() && grid && QSize(grid->width(), grid->height()) == wanted;
    }));
    EXPECT_EQ(b.scannedCells(), wanted);
    EXPECT_EQ(b.view().picture().grid->from(), 1);
    EXPECT_EQ(b.view().picture().grid->to(), n);
}

// Made as narrow as it goes, the window still shows the hint (or, while it scans, the progress) and
// the button below the picture whole.
TEST_F(BscanWindowTest, AtItsNarrowestTheHintAndTheButtonAreWhole) {
    BscanWindow& b = openWithBscan();
    b.resize(b.minimumWidth(), b.minimumHeight());
    b.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(b.width(), b.minimumWidth());
    for (QWidget* w : {static_cast<QWidget*>(b.findChild<QPushButton*>(QStringLiteral("cmdBscanWhole"))),
                       static_cast<QWidget*>(b.findChild<QLabel*>(QStringLiteral("lblBscanHint")))}) {
        ASSERT_NE(w, nullptr);
        EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
    }
}

TEST_F(BscanWindowTest, ClosingAbandonsTheScanAndShowingAgainReadsIt) {
    frmPlayer& window = *this->window;
    BscanWindow& b = openWithBscan(false);
    window.toggleBscan(); // closed at once, most likely while it reads
    EXPECT_FALSE(b.scanner().running());
    window.toggleBscan();
    ASSERT_NE(waitForCells(b, 1, n), nullptr);

    // Another recording: its own cells, nothing of the first.
    ASSERT_EQ(window.openRecording(QStringLiteral(PELIX_SAMPLES_DIR "/NEG_V6.BIN")),
              player::OpenResult::Opened);
    EXPECT_FALSE(b.view().hasPicture());
    ASSERT_NE(waitForCells(b, 1, 250), nullptr);
}

} // namespace
} // namespace pelix::bscan
