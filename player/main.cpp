#include "platform/message_service.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QStyleFactory>

#include <cstdio>
#include <cstring>

namespace {

const char* kUsage = "Usage: PelixPlayer [FILE]\n"
                     "       PelixPlayer --overview FILE\n"
                     "Opens FILE (a .BIN recording) at start, as if it had been chosen in the open dialog.\n"
                     "  --overview FILE   also shows the recording's overview window beside the player\n"
                     "                    (Ctrl+Shift+O opens and closes it at any time)\n";

} // namespace

// PelixPlayer [FILE]: opens FILE at start as if it had been chosen in the open dialog.
int main(int argc, char* argv[]) {
    // Help needs no display: answered before the toolkit looks for one.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelix Player"));

    // The command line is checked before any window appears.
    const QStringList args = QApplication::arguments();
    const bool withOverview = args.size() == 3 && args.at(1) == QLatin1String("--overview") &&
                              !args.at(2).startsWith(QLatin1Char('-'));
    const bool plain = args.size() <= 2 && (args.size() < 2 || !args.at(1).startsWith(QLatin1Char('-')));
    if (!withOverview && !plain) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString file = args.size() >= 2 ? args.last() : QString();

    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);
    frmPlayer window;
    if (!window.ascanError().isEmpty()) {
        pelix::platform::showMessage(window.ascanError());
        return 1;
    }
    window.show();
    // A recording of an instrument older than this player, named on the command
    // line, ends the program after its message; one picked in the window never does.
    if (!file.isEmpty() && window.openRecording(file) == pelix::player::OpenResult::Incompatible) return 3;
    if (withOverview) window.toggleOverview();
    return app.exec();
}
