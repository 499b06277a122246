// Playback and the position slider: play/pause, the timer step, the speed
// selector, and the slider's scroll and change handling (which also marks the
// AVI range while it is being chosen).
#pragma once

#include "player/playback/player_session.h"
#include "player/ui/player_controls.h"

#include <QObject>

#include <functional>

namespace pelix::player {

class FrameDisplay;

class PlaybackController : public QObject {
    Q_OBJECT
  public:
    PlaybackController(const PlayerControls& controls, PlayerSession& session, FrameDisplay& display,
                       QObject* parent = nullptr);

    bool playing() const;

    void cmdPlayStop_Click();
    void tmrPlay_Timer();
    void SliderSpeed_Change();
    void Slider_Scroll();
    void Slider_Change();
    // Slider position = CurrentFrame; its change handling shows the frame when the position moves.
    void moveSlider();

    // Stops playback without touching the frame number (the recording went away).
    void stopForNoRecording();

    // The end of the AVI range passed during an export; the export completes it.
    void setRangeRecordedHandler(std::function<void()> handler) { m_rangeRecorded = std::move(handler); }

    // ShowFrame through the guard; a short read stops playback. False on a short read.
    bool showFrame(int32_t n);

  private:
    void markAviRange(int32_t position);
    void setGateDragAllowed(bool allowed);

    PlayerControls m_c;
    PlayerSession& m_session;
    FrameDisplay& m_display;
    std::function<void()> m_rangeRecorded;
    bool m_stepMovingSlider = false;
};

} // namespace pelix::player
