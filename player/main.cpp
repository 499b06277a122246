#include "player/ui/frm_player.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    frmPlayer window;
    window.show();
    return app.exec();
}
