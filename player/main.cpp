#include "core/exit_codes.h"
#include "core/files/signal_cleanup.h"
#include "platform/message_service.h"
#include "platform/numeric_locale.h"
#include "platform/path_bytes.h"
#include "platform/runtime_folder.h"
#include "player/overview/overview_window.h"
#include "player/report/report_action.h"
#include "player/review/review_session.h"
#include "player/ui/frm_player.h"
#include "player/ui/start_options.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstring>

namespace {

const char* kUsage = "Usage: PelixPlayer [FILE]\n"
                     "       PelixPlayer --overview FILE\n"
                     "       PelixPlayer --bscan FILE\n"
                     "       PelixPlayer --version\n"
                     "Opens FILE (a .BIN recording) at start, as if it had been chosen in the open dialog.\n"
                     "  --overview FILE   also shows the recording's overview window beside the player\n"
                     "                    (Ctrl+Shift+O opens and closes it at any time)\n"
                     "  --bscan FILE      also shows the recording's B-scan window beside the player\n"
                     "                    (Ctrl+Shift+B opens and closes it at any time)\n"
                     "In the window, F1 lists its keys.\n";

// What the window already knows of the recording's review, so a report neither hashes the
// recording again nor misses a change not yet kept.
pelix::report::KnownReview knownReview(const frmPlayer& window) {
    return {window.review().heldReview(), window.review().identity()};
}

} // namespace

// PelixPlayer [FILE]: opens FILE at start as if it had been chosen in the open dialog.
int main(int argc, char* argv[]) {
    // Help needs no display: answered before the toolkit looks for one.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("PelixPlayer %d.%d.%d\n", PELIX_VERSION_MAJOR, PELIX_VERSION_MINOR, PELIX_VERSION_PATCH);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    // A video or report being written when the program is stopped leaves nothing
    // behind, nor does the private runtime folder.
    pelix::files::removeTemporariesOnSignals();
    const pelix::files::CleanupOnSignal runtimeFolder(pelix::platform::ensureRuntimeFolder(),
                                                      pelix::files::CleanupKind::Folder);
    QApplication app(argc, argv);
    pelix::platform::keepNumbersInCLocale();
    QApplication::setApplicationName(QStringLiteral("Pelix Player"));

    // The command line is checked before any window appears. File names are
    // taken as the bytes given, not as text: a name that is not UTF-8 still opens.
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args << pelix::platform::pathFromBytes(argv[i]);
    const pelix::player::StartOptions start = pelix::player::parseStartOptions(args);
    if (!start.valid) {
        std::fputs(kUsage, stderr);
        return pelix::kExitUsage;
    }

    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    frmPlayer window;
    if (!window.ascanError().isEmpty()) {
        pelix::platform::showMessage(window.ascanError());
        return pelix::kExitWriteFailed;
    }
    // The user's window keeps each recording's review file.
    window.setKeepsReviews(true);
    // The overview's "Report…" opens the report dialog; the report draws its
    // pages through a window of its own, so the window itself never reaches it.
    pelix::overview::OverviewWindow& overview = window.overview();
    QObject::connect(&overview, &pelix::overview::OverviewWindow::reportRequested, &overview,
                     [&overview, &window](const QString& recording, const std::vector<int32_t>& flagged,
                                          int32_t current, int32_t count) {
                         pelix::report::runReportAction(&overview, recording, flagged, current, count,
                                                        knownReview(window));
                     });
    // The main window's "Report…" (Ctrl+R, its context menu) asks the same, over itself.
    QObject::connect(&window, &frmPlayer::reportRequested, &window,
                     [&window](const QString& recording, const std::vector<int32_t>& flagged, int32_t current,
                               int32_t count) {
                         pelix::report::runReportAction(&window, recording, flagged, current, count,
                                                        knownReview(window));
                     });
    window.show();
    // A recording of an instrument older than this player, named on the command
    // line, ends the program after its message; one picked in the window never does.
    if (!start.file.isEmpty() && window.openRecording(start.file) == pelix::player::OpenResult::Incompatible)
        return pelix::kExitRejected;
    pelix::player::showStartWindows(window, start);
    return app.exec();
}
