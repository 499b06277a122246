// Playback and the position slider: play/pause, the timer step, the speed
// selector, and the slider's scroll and change handling (which also marks the
// AVI range while it is being chosen).
#pragma once

#include "core/playback/playback_state.h"
#include "player/controls/player_controls.h"
#include "player/playback/player_session.h"

#include <QObject>

#include <functional>

namespace pelix::player {

class FrameDisplay;

class PlaybackController : public QObject {
    Q_OBJECT
  public:
    PlaybackController(const PlayerControls& controls, PlayerSession& session, FrameDisplay& display,
                       QObject* parent = nullptr);

    // True while the timer steps through frames (playback or a video recording).
    bool playing() const;
    playback::PlaybackState state() const { return m_state.state(); }
    // What the state machine last decided about the gates (what the control's gate-drag flags say).
    bool gateDragAllowed() const { return m_state.gateDragAllowed(); }

    // The one way the playback state changes: the event goes through the state
    // machine and the transition it names is applied to the controls. False
    // when the event means nothing in the current state.
    bool raise(playback::PlaybackEvent event);

    void cmdPlayStop_Click();
    void tmrPlay_Timer();
    void SliderSpeed_Change();
    void Slider_Scroll();
    void Slider_Change();
    // Slider position = CurrentFrame; its change handling shows the frame when the position moves.
    void moveSlider();

    // Enables the flag option, its entry box and arrows when the recording's
    // flag index is known and navigation is available; disables them otherwise.
    void refreshFlagControls();

    // Stops playback without touching the frame number (the recording went away).
    void stopForNoRecording();

    // A video recording ended (end of its range, the stop button, a short read,
    // a slider drag): the export closes its file.
    void setRangeRecordedHandler(std::function<void()> handler) { m_rangeRecorded = std::move(handler); }
    // A frame of the video range is whole on screen, slider moved: the export captures it.
    void setVideoFrameShownHandler(std::function<void()> handler) { m_videoFrameShown = std::move(handler); }

    // ShowFrame through the guard; a short read stops playback. False on a short read.
    bool showFrame(int32_t n);

    // The only writer of the control's gate-drag flags: sets both to what the
    // state machine decided. Runs after every transition, and once when the
    // window has prepared the control (no frame shown yet: no gate to grab).
    void applyGateDrag();

  private:
    void markAviRange(int32_t position);
    void apply(const playback::PlaybackTransition& t);
    void applyControls(const playback::PlaybackTransition& t);
    void setNavigationEnabled(bool enabled);

    PlayerControls m_c;
    PlayerSession& m_session;
    FrameDisplay& m_display;
    playback::PlaybackStateMachine m_state;
    std::function<void()> m_rangeRecorded;
    std::function<void()> m_videoFrameShown;
    bool m_stepMovingSlider = false;
};

} // namespace pelix::player
