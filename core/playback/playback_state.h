// The one place that decides what the window is doing with its recording:
// stopped, playing, searching it, or recording a range of it to video. Every
// handler raises an event; the transition says which state follows and what
// the window has to do on the way (the controller applies it to the widgets).
// It alone decides whether the user may grab the control's gates.
#pragma once

#include <cstdint>
#include <optional>

namespace pelix::playback {

enum class PlaybackState : uint8_t { Stopped, Playing, Searching, RecordingVideo };

enum class PlaybackEvent : uint8_t {
    Play,            // the play button while stopped
    Pause,           // the play button while playing
    ReachedEnd,      // the step passed the last frame (of the recording, or of the video range)
    ShortRead,       // the end of the file cut the frame's record short
    SliderDragged,   // the user moves the position slider
    RecordingClosed, // the recording went away (a rejected open, the window closing)
    SearchStarted,
    SearchFinished, // done or cancelled
    VideoStarted,
    VideoStopped, // the stop button, or a failed write
    FrameDrawing, // a frame is about to be drawn into the control (the state stays)
    FrameShown,   // that frame is on screen and the slider stands on it (the state stays)
};

inline constexpr int kPlaybackStateCount = 4;
inline constexpr int kPlaybackEventCount = 12;

// What the controls look like in a state.
struct ControlAvailability {
    bool timerRunning = false;
    bool pauseCaption = false;        // the play button reads "Pause" (else "Play")
    bool searchAvailable = false;     // CheckSearch can be used
    bool aviSelectAvailable = false;  // AVI_Select can be used
    bool navigationAvailable = false; // open, play button, slider, quick move

    friend bool operator==(const ControlAvailability&, const ControlAvailability&) = default;
};

struct PlaybackTransition {
    PlaybackState from;
    PlaybackState to;
    // The timer had already advanced past the frame on screen: step the current frame back.
    bool stepBack = false;
    // A video recording ended with this transition: the export closes its file.
    bool finishVideo = false;
    // Playing stops search: the check box is cleared with it.
    bool clearSearch = false;
    // Whether the user may grab a gate once this transition is applied. A
    // gate is let go while the control draws a frame; stopped, it may be
    // grabbed; a run (play or video) withdraws it until its first frame is on
    // screen, and between two steps of a run it may be grabbed again (the next
    // step's drawing lets it go); never during a search.
    bool gateDragAllowed = false;

    bool changesState() const { return from != to; }
};

class PlaybackStateMachine {
  public:
    PlaybackState state() const { return m_state; }
    // The decision of the last transition; before any, no frame is on screen
    // and no gate may be grabbed.
    bool gateDragAllowed() const { return m_gateDragAllowed; }

    // The transition an event causes in the current state, which becomes the
    // new state; nullopt when the event means nothing in this state.
    std::optional<PlaybackTransition> handle(PlaybackEvent event);

    // Without a side effect: what handle() would do.
    static std::optional<PlaybackTransition> transitionFor(PlaybackState state, PlaybackEvent event);
    static ControlAvailability controlsIn(PlaybackState state);

  private:
    PlaybackState m_state = PlaybackState::Stopped;
    bool m_gateDragAllowed = false;
};

const char* playbackStateName(PlaybackState state);
const char* playbackEventName(PlaybackEvent event);

} // namespace pelix::playback
