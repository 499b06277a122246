#include "player/ui/frm_player.h"

frmPlayer::frmPlayer(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmPlayer"));
    setWindowTitle(QStringLiteral("Pelix Player ( Ver%1.%2.%3 )")
                       .arg(PELIX_VERSION_MAJOR)
                       .arg(PELIX_VERSION_MINOR)
                       .arg(PELIX_VERSION_PATCH));
    resize(661, 731);
}
