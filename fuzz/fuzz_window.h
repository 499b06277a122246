// The player's own window for the harnesses that draw, built as pelix render
// builds it: Qt off screen, the window laid out as the running player's but
// never shown on a screen, its message boxes collected instead of shown.
#pragma once

#include "platform/message_service.h"
#include "player/ui/frm_player.h"

#include <string>

namespace pelix::fuzz {

// Starts Qt on the off-screen platform whatever display is at hand (once per process).
void startOffscreenApplication();

// One window for the whole run, reused input after input as the player opens one
// recording after another (a window of its own per input would halve the rate).
class OffscreenPlayer;
OffscreenPlayer& offscreenPlayer();

class OffscreenPlayer {
  public:
    // Ends the run when the A-scan control cannot be made: every input would test nothing.
    OffscreenPlayer();

    // Opens a recording through the player's open sequence (frame 1 on screen); false when rejected.
    bool open(const std::string& path);
    frmPlayer& window() { return m_window; }
    int32_t frameCount() { return m_window.session().FrameCount(); }

  private:
    bool m_started = (startOffscreenApplication(), true); // before any widget
    platform::MessageLog m_messages;
    frmPlayer m_window;
};

} // namespace pelix::fuzz
