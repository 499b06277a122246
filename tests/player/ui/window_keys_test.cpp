// The window's keys: each one in the list is bound, and only once; the help
// overlay shows the list; Enter in a Quick Move box jumps by that box; Ctrl+R
// asks for the report; the copied picture is the one `pelix render --window` writes.
#include "player/window_test_support.h"

#include "platform/track_bar.h"
#include "player/ui/key_help_overlay.h"
#include "player/ui/status_line.h"
#include "player/ui/window_keys.h"

#include <QClipboard>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>
#include <set>

namespace pelix::player::test {
namespace {

// Presses the window's shortcut for `id` as the key would.
void press(QWidget& window, WindowKey id) {
    QShortcut* found = nullptr;
    for (QShortcut* s : window.findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
        if (s->key() == keyOf(id)) found = s;
    ASSERT_NE(found, nullptr);
    emit found->activated();
}

TEST_F(WindowTest, EveryListedKeyIsBoundOnceAndTheHelpShowsTheList) {
    std::set<QString> keys;
    for (const WindowKeyEntry& k : windowKeys()) {
        EXPECT_TRUE(keys.insert(k.key.toString()).second) << "listed twice: " << k.keyText.toStdString();
        EXPECT_FALSE(k.does.isEmpty());
        int bound = 0;
        for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
            if (s->key() == k.key) ++bound;
        // Enter belongs to the entry boxes: a window-wide Enter would take it from every other control.
        EXPECT_EQ(bound, k.id == WindowKey::QuickMoveGo ? 0 : 1) << k.keyText.toStdString();
    }
    // Nothing is bound that the help does not list.
    for (QShortcut* s : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(keys.count(s->key().toString())) << s->key().toString().toStdString();

    const auto rows = KeyHelpOverlay::rows();
    ASSERT_EQ(rows.size(), windowKeys().size());
    EXPECT_EQ(rows.front().first, QStringLiteral("Space"));
    EXPECT_EQ(rows.back().first, QStringLiteral("F1"));

    window->showOffScreen();
    KeyHelpOverlay& help = window->keyHelp();
    EXPECT_FALSE(help.isVisible());
    press(*window, WindowKey::KeyHelp);
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.geometry(), window->rect());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&help, &escape);
    EXPECT_FALSE(help.isVisible());
}

struct EnterCase {
    const char* label;
    const char* box;
    const char* option;
    const char* other; // the option selected before
    const char* text;
    int32_t frame; // 0: the first flag's frame
};

class EnterInBox : public WindowTest, public ::testing::WithParamInterface<EnterCase> {};

// Enter jumps by the box it is typed in, whichever option was selected before.
TEST_P(EnterInBox, PressesGoForThatBox) {
    const EnterCase& c = GetParam();
    open(files.write(QStringLiteral("ENTER.BIN"), recordingOptions(600, 50, 3)));
    ASSERT_TRUE(waitForFlags());
    control<QRadioButton>(c.other)->setChecked(true);
    const int32_t want = c.frame != 0 ? c.frame : session().recording->flags().at(1);
    auto* box = control<QLineEdit>(c.box);
    box->setText(QString::fromLatin1(c.text));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(box, &enter);
    EXPECT_TRUE(control<QRadioButton>(c.option)->isChecked());
    EXPECT_TRUE(messages.messages().empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(session().CurrentFrame, want);
    EXPECT_EQ(control<platform::TrackBar>("Slider")->value(), want);
}

INSTANTIATE_TEST_SUITE_P(Boxes, EnterInBox,
                         ::testing::Values(EnterCase{"Frame", "txtFrameIdx", "OptFrame", "OptTime", "123",
                                                     123},
                                           EnterCase{"Time", "txtTimeIdx", "OptTime", "OptFrame", "4", 201},
                                           EnterCase{"Flag", "txtFlagIdx", "OptFlag", "OptFrame", "1", 0}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(WindowTest, ReportKeyAsksForTheReportWithTheRecordingsFlags) {
    int asked = 0;
    QObject::connect(
        window.get(), &frmPlayer::reportRequested, window.get(),
        [&](const QString& recording, const std::vector<int32_t>& flagged, int32_t current, int32_t count) {
            ++asked;
            EXPECT_TRUE(recording.endsWith(QStringLiteral("REPORT.BIN")));
            EXPECT_EQ(static_cast<int32_t>(flagged.size()), session().FlagCount());
            EXPECT_TRUE(std::is_sorted(flagged.begin(), flagged.end()));
            EXPECT_EQ(current, 40);
            EXPECT_EQ(count, 300);
        });
    press(*window, WindowKey::Report);
    EXPECT_EQ(asked, 0) << "no recording, no report";
    open(files.write(QStringLiteral("REPORT.BIN"), recordingOptions(300, 50, 5)));
    ASSERT_TRUE(waitForFlags());
    window->jumpToFrame(40);
    press(*window, WindowKey::Report);
    EXPECT_EQ(asked, 1);
}

// The clipboard gets exactly the picture the command line writes for the same frame,
// also while a status message and the help are showing.
TEST_F(WindowTest, CopiedPictureIsTheWindowPictureTheCommandLineRenders) {
    const QString rec = files.write(QStringLiteral("COPY.BIN"), recordingOptions(200, 50, 2));
    const QString png = files.filePath(QStringLiteral("frame.png"));
    QProcess render;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    render.setProcessEnvironment(env);
    render.start(QStringLiteral(PELIX_BIN_DIR "/pelix"), {"render", rec, "77", "--window", "-o", png});
    ASSERT_TRUE(render.waitForFinished(60000));
    ASSERT_EQ(render.exitCode(), 0) << render.readAllStandardError().toStdString();
    const QImage rendered(png);
    ASSERT_FALSE(rendered.isNull());

    window->showOffScreen();
    open(rec);
    window->jumpToFrame(77);
    QApplication::processEvents();
    QGuiApplication::clipboard()->clear();
    window->controls().lblStatus->showMessage(QStringLiteral("Video of frames 1 to 2 written to /tmp/x.avi"));
    window->keyHelp().toggle();
    press(*window, WindowKey::CopyPicture);
    const QImage copied = QGuiApplication::clipboard()->image();
    ASSERT_EQ(copied.size(), rendered.size());
    EXPECT_TRUE(copied.convertToFormat(QImage::Format_RGB32) ==
                rendered.convertToFormat(QImage::Format_RGB32));
    // What was showing is showing again.
    EXPECT_TRUE(window->keyHelp().isVisible());
    EXPECT_TRUE(window->controls().lblStatus->text().startsWith(QStringLiteral("Video of frames")));
}

} // namespace
} // namespace pelix::player::test
