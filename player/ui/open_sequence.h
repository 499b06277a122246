// Opening a recording: the open dialog, validation, and the preparation of
// the window for the new recording (caption, slider, speed, flags, A-scan
// control, enabled controls) up to showing frame 1.
#pragma once

#include "player/playback/player_session.h"
#include "player/ui/player_controls.h"

#include <QString>

namespace pelix::player {

class FrameDisplay;
class PlaybackController;

enum class OpenResult {
    Cancelled,  // the dialog was closed without a name; nothing changed
    Opened,     // frame 1 of the new recording is on screen
    Rejected,   // the user was told why; no recording is open
    EndProgram, // a recording this player cannot read; the user was told and the program ends
};

inline constexpr const char* kRecordingFilter = "Pelix Video Files (*.BIN)|*.BIN|All Files (*.*)|*.*";

class OpenSequence {
  public:
    OpenSequence(const PlayerControls& controls, PlayerSession& session, FrameDisplay& display,
                 PlaybackController& playback, QString appTitle);

    // cmdOpen: asks for a file, then opens it.
    OpenResult cmdOpen_Click();
    // Opens `path` without asking (command line, dropped file).
    OpenResult openFile(const QString& path);

    // The controls that need a recording, disabled (before the first open and after a rejection).
    static void disableRecordingControls(const PlayerControls& c);

  private:
    void closeRecording();
    void reject(const QString& message);
    void setUpSlider();
    void setUpControl();
    void enableControls();

    PlayerControls m_c;
    PlayerSession& m_session;
    FrameDisplay& m_display;
    PlaybackController& m_playback;
    QString m_appTitle;
};

} // namespace pelix::player
