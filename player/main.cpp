#include "platform/message_service.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QStyleFactory>

// PelixPlayer [FILE]: opens FILE at start as if it had been chosen in the open dialog.
int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelix Player"));
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(style);

    frmPlayer window;
    if (!window.ascanError().isEmpty()) {
        pelix::platform::showMessage(window.ascanError());
        return 1;
    }
    QObject::connect(&window, &frmPlayer::programEndRequested, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    window.show();

    const QStringList args = QApplication::arguments();
    if (args.size() > 2) {
        pelix::platform::showMessage(QStringLiteral("Usage: PelixPlayer [FILE]"));
        return 2;
    }
    if (args.size() == 2 && window.openRecording(args.at(1)) == pelix::player::OpenResult::EndProgram)
        return 3;
    return app.exec();
}
