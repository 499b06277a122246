// The review file as the window uses it: what a reviewer adds and where the
// window was left come back when the recording is opened again; a review file
// that belongs to no recording of ours, or to another one, is neither applied
// nor touched; a folder that refuses the file sends it to the data folder;
// and the recording itself is never written.
#include "player/window_test_support.h"

#include "core/review/review_json.h"
#include "core/review/review_store.h"
#include "platform/track_bar.h"
#include "player/display/ascan_port.h"
#include "player/display/frame_display.h"
#include "player/overview/overview_window.h"
#include "player/review/bookmark_dialog.h"
#include "player/review/inspection_dialog.h"
#include "player/review/review_session.h"
#include "player/ui/status_line.h"
#include "player/ui/tool_windows_state.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStandardPaths>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace pelix::player::test {
namespace {

namespace fs = std::filesystem;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ReviewWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        // The restore setting lives in a settings file of the test's own.
        QStandardPaths::setTestModeEnabled(true);
        frmPlayer::setRestoresLastSession(true);
        if (const char* was = std::getenv("XDG_DATA_HOME")) m_dataWas = was;
        ::setenv("XDG_DATA_HOME", m_data.path().c_str(), 1);
        WindowTest::SetUp();
        startWindow();
    }
    void TearDown() override {
        WindowTest::TearDown();
        frmPlayer::setRestoresLastSession(true);
        if (m_dataWas)
            ::setenv("XDG_DATA_HOME", m_dataWas->c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    // A fresh main window, as the program makes it.
    void startWindow() {
        if (!window) window = std::make_unique<frmPlayer>();
        window->setKeepsReviews(true);
        window->show();
    }
    void restartWindow() {
        window.reset();
        startWindow();
    }
    bool waitFor(const std::function<bool()>& done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 60000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(1);
        }
        return done();
    }
    bool waitForIdentity() {
        return waitFor([this] { return window->review().identity().has_value(); });
    }
    template <typename Dialog> Dialog* shownDialog() {
        QApplication::processEvents();
        const auto found = window->findChildren<Dialog*>();
        return found.isEmpty() ? nullptr : found.back();
    }
    QString statusText() { return control<StatusLine>("lblStatus")->text(); }

    pelix::testing::TempFolder m_data;
    std::optional<std::string> m_dataWas;
};

TEST_F(ReviewWindowTest, WhatTheReviewerLeftComesBackWhenTheRecordingOpensAgain) {
    const std::string recording =
        files.write(QStringLiteral("WELD 7.BIN"), recordingOptions(300)).toStdString();
    const auto stamp = fs::last_write_time(recording) - std::chrono::hours(24 * 365);
    fs::last_write_time(recording, stamp);
    const std::string before = bytesOf(recording);
    const std::string reviewPath = recording + ".review.json";

    open(QString::fromStdString(recording));
    ASSERT_TRUE(waitForIdentity());
    EXPECT_FALSE(fs::exists(reviewPath)) << "nothing is written for a recording only looked at";

    window->jumpToFrame(40);
    window->addBookmarkHere();
    BookmarkDialog* mark = shownDialog<BookmarkDialog>();
    ASSERT_NE(mark, nullptr);
    // The time as the Quick Move box counts it.
    EXPECT_EQ(control<QLabel>("lblBookmarkFrame")->text(),
              QStringLiteral("Frame 40 at %1 s").arg(session().timeIndex(40)));
    mark->noteEdit().setPlainText(QStringLiteral("root indication\nsecond line"));
    mark->accept();
    ASSERT_EQ(window->review().bookmarks().size(), 1u);
    // Kept at once, not only at the end.
    ASSERT_TRUE(fs::exists(reviewPath));

    window->editInspection();
    InspectionDialog* details = shownDialog<InspectionDialog>();
    ASSERT_NE(details, nullptr);
    EXPECT_EQ(control<QLineEdit>("txtInspectionRecordingSha256")->text().toStdString(),
              window->review().identity()->sha256);
    static_cast<QLineEdit*>(details->fieldEdit("PartId"))->setText(QStringLiteral("W-17"));
    static_cast<QPlainTextEdit*>(details->fieldEdit("Notes"))
        ->setPlainText(QStringLiteral("cap ground\nflush"));
    details->accept();
    EXPECT_EQ(window->review().inspection().PartId, "W-17");

    // The search box shown, the AVI range 30..80, the overview open; the frame left at 80.
    control<QCheckBox>("CheckSearch")->setChecked(true);
    window->jumpToFrame(30);
    control<QCheckBox>("AVI_Select")->setChecked(true);
    control<QRadioButton>("optEnd")->click();
    window->jumpToFrame(80);
    const AviRange range = session().avi;
    ASSERT_EQ(range.startFrame, 30);
    ASSERT_EQ(range.endFrame, 80);
    window->toggleOverview();
    window->close();

    const review::ReviewLoad kept = review::readReviewFile(reviewPath);
    ASSERT_EQ(kept.problem, review::ReviewProblem::None) << kept.reason;
    ASSERT_EQ(kept.review->bookmarks.size(), 1u);
    EXPECT_EQ(kept.review->bookmarks[0].frame, 40);
    EXPECT_EQ(kept.review->bookmarks[0].text, "root indication\nsecond line");
    EXPECT_EQ(kept.review->inspection.Notes, "cap ground\nflush");
    ASSERT_TRUE(kept.review->lastSession);
    const review::LastSession& last = *kept.review->lastSession;
    EXPECT_EQ(last.frame, 80);
    EXPECT_TRUE(last.searchBox.has_value());
    EXPECT_EQ(last.aviRange, (review::AviRange{30, 80}));
    EXPECT_FALSE(last.gateA.has_value()) << "no gate was dragged";
    EXPECT_TRUE(parseToolWindows(last.windows).overview.has_value()) << last.windows;

    restartWindow();
    open(QString::fromStdString(recording));
    EXPECT_EQ(session().CurrentFrame, 80);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->value(), 80);
    EXPECT_TRUE(control<QCheckBox>("AVI_Select")->isChecked());
    EXPECT_EQ(session().avi.startFrame, 30);
    EXPECT_EQ(session().avi.endFrame, 80);
    EXPECT_TRUE(window->overview().isVisible());
    EXPECT_EQ(window->review().bookmarks(), kept.review->bookmarks);
    EXPECT_EQ(window->review().inspection(), kept.review->inspection);
    window->close();

    // Restoring turned off: the marks and details are there, the window starts afresh.
    frmPlayer::setRestoresLastSession(false);
    restartWindow();
    open(QString::fromStdString(recording));
    EXPECT_EQ(session().CurrentFrame, 1);
    EXPECT_FALSE(control<QCheckBox>("AVI_Select")->isChecked());
    EXPECT_FALSE(window->overview().isVisible());
    EXPECT_EQ(window->review().bookmarks().size(), 1u);
    window->close();

    EXPECT_EQ(bytesOf(recording), before);
    EXPECT_EQ(fs::last_write_time(recording), stamp);
    EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join('|').toStdString();
}

TEST_F(ReviewWindowTest, TheGatesOfADragBelongToTheRecordingTheyWereDraggedIn) {
    const QString first = files.write(QStringLiteral("FIRST.BIN"), recordingOptions(60));
    open(first);
    AscanPort& port = window->display().port();
    port.set("fGateAStart", 20.0F);
    port.set("newGateAStart", 20.0F);
    port.set("iGateAThresh", QVariant::fromValue<qint16>(25));
    port.set("newGateAThresh", QVariant::fromValue<qint32>(25));
    QMetaObject::invokeMethod(window->controls().Ascan, "MouseUp", Qt::DirectConnection);
    ASSERT_TRUE(window->lastSession().gateA.has_value());
    EXPECT_EQ(window->lastSession().gateA->threshold, 25);

    open(files.write(QStringLiteral("SECOND.BIN"), recordingOptions(60)));
    EXPECT_FALSE(window->lastSession().gateA.has_value());
    EXPECT_FALSE(window->lastSession().gateB.has_value());
}

TEST_F(ReviewWindowTest, RestoredGatesAndSearchBoxAreWhatAFreshDragAtThoseValuesLeaves) {
    const QString recording = files.write(QStringLiteral("GATES.BIN"), recordingOptions(200));
    const auto shown = [this] {
        QStringList s;
        for (QLabel* l : window->controls().lblRdValue)
            s << l->text();
        for (int r = 0; r < 16; ++r)
            s << window->controls()
                     .Ascan->findChild<QLabel*>(QStringLiteral("lblParamValue%1").arg(r))
                     ->text();
        return s;
    };
    open(recording);
    ASSERT_TRUE(waitForIdentity());
    window->jumpToFrame(120);
    AscanPort& port = window->display().port();
    const frame::DraggedGate moved{port.get("fGateAStart").toFloat() + 1.5F, 37};
    window->applyGatesAsDrag({moved, std::nullopt});
    const QStringList dragged = shown();
    control<QCheckBox>("CheckSearch")->setChecked(true);
    const search::SearchLimits box{120.0, 300.0, 20.0, 60.0};
    ASSERT_TRUE(window->placeSearchBox(box));
    const auto limits = [this] {
        AscanPort& p = window->display().port();
        return QStringList{p.get("SearchLowwidthRange").toString(), p.get("SearchUpwidthRange").toString(),
                           p.get("SearchLowhightlimit").toString(), p.get("SearchUphightlimit").toString()};
    };
    const QStringList placed = limits();
    window->close();

    restartWindow();
    open(recording);
    EXPECT_EQ(session().CurrentFrame, 120);
    EXPECT_EQ(shown(), dragged) << "readings and panel as the drag left them";
    ASSERT_TRUE(window->lastSession().gateA.has_value());
    EXPECT_EQ(window->lastSession().gateA->start, moved.start);
    EXPECT_EQ(window->lastSession().gateA->threshold, moved.threshold);
    EXPECT_TRUE(control<QCheckBox>("CheckSearch")->isChecked());
    EXPECT_EQ(limits(), placed);
    window->close();
}

TEST_F(ReviewWindowTest, AChangeMadeBeforeTheHashIsKeptOnceItIsKnownOrWhenTheRecordingCloses) {
    const std::string recording =
        files.write(QStringLiteral("EARLY.BIN"), recordingOptions(50)).toStdString();
    open(QString::fromStdString(recording));
    // The hash comes back through the window's events: none have run yet.
    ASSERT_FALSE(window->review().identity().has_value());
    window->review().addBookmark(5, "early");
    EXPECT_FALSE(fs::exists(recording + ".review.json"));
    ASSERT_TRUE(waitForIdentity());
    const review::ReviewLoad kept = review::readReviewFile(recording + ".review.json");
    ASSERT_EQ(kept.problem, review::ReviewProblem::None) << kept.reason;
    EXPECT_EQ(kept.review->bookmarks.size(), 1u);
    EXPECT_EQ(kept.review->recording, *window->review().identity());

    // Closed at once: the mark still reaches the file.
    open(QString::fromStdString(recording));
    window->review().addBookmark(6, "closed at once");
    window->close();
    const review::ReviewLoad after = review::readReviewFile(recording + ".review.json");
    ASSERT_EQ(after.problem, review::ReviewProblem::None) << after.reason;
    EXPECT_EQ(after.review->bookmarks.size(), 2u);
}

struct NotAppliedCase {
    const char* label;
    // The review file's text, given the recording's size.
    std::string (*text)(std::uint64_t size);
    const char* said; // part of what the user is told
};

std::string validReview(std::uint64_t size, const std::string& sha) {
    review::ReviewFile review;
    review.recording = {"ELSEWHERE.BIN", size, sha};
    review.bookmarks.push_back({3, "theirs", ""});
    return review::reviewJson(review);
}

const NotAppliedCase kNotApplied[] = {
    {"NotJson", [](std::uint64_t) { return std::string("{\"Format\": \"pelix-review\", "); }, "not applied"},
    {"OtherVersion",
     [](std::uint64_t size) {
         std::string text = validReview(size, std::string(64, 'a'));
         text.replace(text.find("\"Version\": 1"), 12, "\"Version\": 7");
         return text;
     },
     "ersion"},
    // Same size, another SHA-256: taken at first, withdrawn once the hash is known.
    {"OtherRecording", [](std::uint64_t size) { return validReview(size, std::string(64, 'b')); },
     "another recording"},
    {"TooLarge", [](std::uint64_t) { return std::string(review::kMostReviewBytes + 1, ' '); }, "bytes"},
};

class ReviewNotApplied : public ReviewWindowTest, public ::testing::WithParamInterface<NotAppliedCase> {};

TEST_P(ReviewNotApplied, IsSaidAndLeftByteForByte) {
    const std::string recording = files.write(QStringLiteral("SCAN.BIN"), recordingOptions(40)).toStdString();
    const std::string reviewPath = recording + ".review.json";
    const std::string text = GetParam().text(fs::file_size(recording));
    std::ofstream(reviewPath, std::ios::binary) << text;

    open(QString::fromStdString(recording));
    ASSERT_TRUE(waitForIdentity());
    EXPECT_TRUE(window->review().bookmarks().empty()) << "a review not applied shows nothing of its own";
    EXPECT_FALSE(window->review().notApplied().isEmpty());
    EXPECT_TRUE(statusText().contains(QString::fromStdString(reviewPath))) << statusText().toStdString();
    EXPECT_TRUE(statusText().contains(QLatin1String(GetParam().said))) << statusText().toStdString();
    auto* notice = window->findChild<QMessageBox*>(QStringLiteral("msgReviewNotice"));
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->isModal());

    // A change is shown, not kept, and the window says so.
    window->review().addBookmark(2, "mine");
    EXPECT_EQ(window->review().bookmarks().size(), 1u);
    EXPECT_TRUE(statusText().contains(QStringLiteral("not kept"))) << statusText().toStdString();
    window->jumpToFrame(9);
    window->close();
    EXPECT_EQ(bytesOf(reviewPath), text);
    EXPECT_TRUE(fs::is_empty(m_data.path())) << "nor is it moved to the data folder";
}

INSTANTIATE_TEST_SUITE_P(Kinds, ReviewNotApplied, ::testing::ValuesIn(kNotApplied),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(ReviewWindowTest, AFolderThatRefusesTheReviewSendsItToTheDataFolder) {
    const fs::path folder = fs::path(files.filePath(QStringLiteral("readonly")).toStdString());
    fs::create_directories(folder);
    const std::string recording = (folder / "LOCKED.BIN").string();
    {
        std::ofstream out(recording, std::ios::binary);
        synth::RecordingSynth(recordingOptions(40)).write(out);
    }
    // Root writes into any folder but an immutable one.
    const bool root = ::geteuid() == 0;
    const std::string lock = (root ? "chattr +i '" : "chmod 0555 '") + folder.string() + "' 2>/dev/null";
    const std::string unlock = (root ? "chattr -i '" : "chmod 0755 '") + folder.string() + "'";
    if (std::system(lock.c_str()) != 0) GTEST_SKIP() << "this file system cannot make a folder read-only";
    struct Unlock {
        std::string command;
        ~Unlock() { (void)std::system(command.c_str()); }
    } unlockAtEnd{unlock};

    open(QString::fromStdString(recording));
    ASSERT_TRUE(waitForIdentity());
    window->review().addBookmark(4, "kept elsewhere");
    const std::string inData = review::reviewPathInDataFolder(window->review().identity()->sha256);
    EXPECT_EQ(window->review().reviewPath(), inData) << statusText().toStdString();
    EXPECT_TRUE(fs::exists(inData));
    EXPECT_FALSE(fs::exists(recording + ".review.json"));
    window->close();

    // Found there once the hash is known.
    restartWindow();
    open(QString::fromStdString(recording));
    ASSERT_TRUE(waitFor([this] { return !window->review().bookmarks().empty(); }));
    EXPECT_EQ(window->review().bookmarks()[0].text, "kept elsewhere");
}

TEST_F(ReviewWindowTest, EditAndDeleteFindTheirBookmarkAndDeleteAsksFirst) {
    const std::string recording =
        files.write(QStringLiteral("MARKS.BIN"), recordingOptions(100)).toStdString();
    open(QString::fromStdString(recording));
    ASSERT_TRUE(waitForIdentity());
    window->review().addBookmark(50, "b");
    window->review().addBookmark(10, "a");
    window->review().addBookmark(90, "c");
    ASSERT_EQ(window->review().bookmarks()[1].text, "b");

    window->editBookmarkAt(1);
    BookmarkDialog* edit = shownDialog<BookmarkDialog>();
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->note(), QStringLiteral("b"));
    // A mark added meanwhile moves "b" to another index: the edit still finds it.
    window->review().addBookmark(5, "first");
    edit->noteEdit().setPlainText(QStringLiteral("b, changed"));
    edit->accept();
    EXPECT_EQ(window->review().bookmarks()[2].text, "b, changed");

    window->deleteBookmarkAt(0);
    auto* ask = window->findChild<QMessageBox*>(QStringLiteral("msgDeleteBookmark"));
    ASSERT_NE(ask, nullptr);
    ask->button(QMessageBox::No)->click();
    EXPECT_EQ(window->review().bookmarks().size(), 4u);
    QApplication::processEvents();
    window->deleteBookmarkAt(0);
    ask = window->findChildren<QMessageBox*>(QStringLiteral("msgDeleteBookmark")).back();
    ask->button(QMessageBox::Yes)->click();
    ASSERT_EQ(window->review().bookmarks().size(), 3u);
    EXPECT_EQ(window->review().bookmarks()[0].text, "a");
    const review::ReviewLoad kept = review::readReviewFile(recording + ".review.json");
    ASSERT_TRUE(kept.review);
    EXPECT_EQ(kept.review->bookmarks, window->review().bookmarks());

    // Dialogs answered OK without typing keep bytes the edits show differently.
    const std::string odd = "line\r\nbreak\x01\tend";
    window->review().addBookmark(1, odd);
    review::InspectionDetails details;
    details.Location = "bay 3\nrow 2";
    window->review().setInspection(details);
    window->editBookmarkAt(0);
    shownDialog<BookmarkDialog>()->accept();
    window->editInspection();
    shownDialog<InspectionDialog>()->accept();
    EXPECT_EQ(window->review().bookmarks()[0].text, odd);
    EXPECT_EQ(window->review().inspection(), details);
}

TEST(ToolWindowsState, ReadsBackWhatItWritesAndLeavesOutWhatNoScreenHolds) {
    ToolWindowsState state;
    state.overview = ToolWindowState{QRect(10, 20, 600, 400), std::nullopt};
    state.bscan = ToolWindowState{QRect(-1200, 0, 900, 460), std::make_pair(100, 250)};
    const ToolWindowsState back = parseToolWindows(toolWindowsJson(state));
    ASSERT_TRUE(back.overview && back.bscan);
    EXPECT_EQ(back.overview->geometry, state.overview->geometry);
    EXPECT_FALSE(back.overview->frames);
    EXPECT_EQ(back.bscan->geometry, state.bscan->geometry);
    EXPECT_EQ(back.bscan->frames, state.bscan->frames);
    EXPECT_EQ(toolWindowsJson({}), "{}");

    for (const char* hostile :
         {"", "[]", "{\"Overview\":[1,2,3,4]}", "{\"Overview\":{\"Geometry\":[1,2,3]}}",
          "{\"Overview\":{\"Geometry\":[1,2,0,4]}}", "{\"Overview\":{\"Geometry\":[1,2,3.5,4]}}",
          "{\"Overview\":{\"Geometry\":[1e300,2,3,4]}}", "{\"Overview\":{\"Geometry\":[\"1\",2,3,4]}}"})
        EXPECT_FALSE(parseToolWindows(hostile).overview) << hostile;
    // A zoom that cannot be is dropped; the window itself still comes back.
    const ToolWindowsState badZoom =
        parseToolWindows("{\"Bscan\":{\"Geometry\":[0,0,500,300],\"Frames\":[90,10]}}");
    ASSERT_TRUE(badZoom.bscan);
    EXPECT_FALSE(badZoom.bscan->frames);
}

} // namespace
} // namespace pelix::player::test
