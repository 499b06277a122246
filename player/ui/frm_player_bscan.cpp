// The main window's side of the B-scan tool window: it follows the frame on
// screen, shows the frame clicked in it, reads each recording opened, and
// opens and closes by its key or the window's context menu.
#include "player/ui/frm_player.h"

#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/overview/overview_window.h"

#include <QShortcut>

using namespace pelix::player;

void frmPlayer::connectBscan() {
    m_bscan = new pelix::bscan::BscanWindow(this);
    // The cursor follows every move of the position slider, playback included.
    connect(m_c.Slider, &QSlider::valueChanged, m_bscan, &pelix::bscan::BscanWindow::setCurrentFrame);
    // A click shows the frame the way dragging the slider does: playback stops, then the slider moves.
    connect(m_bscan, &pelix::bscan::BscanWindow::frameRequested, this, &frmPlayer::showRequestedFrame);
    // The B-scan window closes by its key too (the main window's key is in its list).
    connect(new QShortcut(bscanShortcut(), m_bscan), &QShortcut::activated, this, [this] { toggleBscan(); });
}

void frmPlayer::toggleBscan() {
    if (m_bscan->isVisible()) {
        m_bscan->hide();
        return;
    }
    m_bscan->placeBeside(*this);
    m_bscan->show();
    m_bscan->raise();
}
