// Opening a recording: the open dialog, validation, and the preparation of
// the window for the new recording (caption, slider, speed, flags, A-scan
// control, enabled controls) up to showing frame 1.
#pragma once

#include "player/controls/player_controls.h"
#include "player/playback/flag_scanner.h"
#include "player/playback/player_session.h"

#include <QString>

#include <string>

namespace pelix::player {

class FrameDisplay;
class PlaybackController;

// A refused file changes nothing: the recording open before stays open, at
// its frame, with its search results, playing if it was.
enum class OpenResult {
    Cancelled,    // the dialog was closed without a name
    Opened,       // frame 1 of the new recording is on screen; its flags follow in the background
    Rejected,     // not a recording this player can show; the user was told why
    Incompatible, // written by an instrument older than this player understands; the user was told
};

inline constexpr const char* kRecordingFilter = "Pelix Video Files (*.BIN)|*.BIN|All Files (*.*)|*.*";

class OpenSequence {
  public:
    OpenSequence(const PlayerControls& controls, PlayerSession& session, FrameDisplay& display,
                 PlaybackController& playback, QString appTitle);
    ~OpenSequence();
    OpenSequence(const OpenSequence&) = delete;
    OpenSequence& operator=(const OpenSequence&) = delete;

    // cmdOpen: asks for a file, then opens it.
    OpenResult cmdOpen_Click();
    // Opens `path` without asking (command line, dropped file).
    OpenResult openFile(const QString& path);

    // Closes the open recording, if any, and abandons its flag scan (the window unloads).
    void closeRecording();
    // True while the flag index of the open recording is still being built.
    bool findingFlags() const { return m_flagScanner.running(); }
    // Returns once the flag index of the open recording is known and the flag controls show it.
    void waitForFlags() { m_flagScanner.wait(); }

    // The controls that need a recording, disabled (before the first open).
    static void disableRecordingControls(const PlayerControls& c);

  private:
    void refuse(const std::string& reason);
    void startFlagScan();
    void flagsFound(recording::FlagIndex flags);
    void setUpSlider();
    void setUpControl();
    void enableControls();

    PlayerControls m_c;
    PlayerSession& m_session;
    FrameDisplay& m_display;
    PlaybackController& m_playback;
    QString m_appTitle;
    FlagScanner m_flagScanner;
};

} // namespace pelix::player
