#include "fuzz/fuzz_window.h"

#include "tools/pelix/headless_application.h"

#include <QApplication>

#include <cstdlib>
#include <iostream>

namespace pelix::fuzz {

void startOffscreenApplication() {
    if (QApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Lives until the process ends: windows of the last input may still refer to it.
    static const auto app = tool::startHeadlessApplication();
}

OffscreenPlayer::OffscreenPlayer() {
    if (!m_window.ascanError().isEmpty()) {
        std::cerr << "fuzz: " << m_window.ascanError().toStdString() << "\n";
        std::exit(2);
    }
    m_window.showOffScreen();
}

OffscreenPlayer& offscreenPlayer() {
    // Never destroyed: its widgets would outlive the application at exit.
    static OffscreenPlayer& player = *new OffscreenPlayer;
    return player;
}

bool OffscreenPlayer::open(const std::string& path) {
    m_messages.clear();
    // A recording too old for the player ends the program: the window hid itself.
    if (!m_window.isVisible()) m_window.showOffScreen();
    return m_window.openRecording(QString::fromStdString(path)) == player::OpenResult::Opened &&
           m_window.session().isOpen();
}

} // namespace pelix::fuzz
