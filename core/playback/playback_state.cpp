#include "core/playback/playback_state.h"

namespace pelix::playback {

namespace {

using S = PlaybackState;
using E = PlaybackEvent;

PlaybackTransition to(S from, S next) {
    return PlaybackTransition{from, next};
}

std::optional<PlaybackTransition> fromStopped(E event) {
    switch (event) {
    case E::Play: {
        PlaybackTransition t = to(S::Stopped, S::Playing);
        t.clearSearch = true;
        return t;
    }
    case E::SearchStarted:
        return to(S::Stopped, S::Searching);
    case E::VideoStarted: {
        PlaybackTransition t = to(S::Stopped, S::RecordingVideo);
        t.clearSearch = true;
        return t;
    }
    default:
        return std::nullopt;
    }
}

std::optional<PlaybackTransition> fromPlaying(E event) {
    PlaybackTransition t = to(S::Playing, S::Stopped);
    switch (event) {
    case E::Pause:
    case E::ReachedEnd:
    case E::ShortRead:
        t.stepBack = true;
        return t;
    case E::SliderDragged:
    case E::RecordingClosed:
        return t;
    default:
        return std::nullopt;
    }
}

std::optional<PlaybackTransition> fromSearching(E event) {
    switch (event) {
    case E::SearchFinished:
    case E::RecordingClosed:
        return to(S::Searching, S::Stopped);
    default:
        return std::nullopt;
    }
}

std::optional<PlaybackTransition> fromRecordingVideo(E event) {
    PlaybackTransition t = to(S::RecordingVideo, S::Stopped);
    t.finishVideo = true;
    switch (event) {
    case E::ReachedEnd:
    case E::ShortRead:
    case E::Pause:
    case E::VideoStopped:
        // As after a pause: the timer had already moved past the frame on screen.
        t.stepBack = true;
        return t;
    case E::SliderDragged:
    case E::RecordingClosed:
        return t;
    default:
        return std::nullopt;
    }
}

std::optional<PlaybackTransition> changeOfState(S state, E event) {
    switch (state) {
    case S::Stopped:
        return fromStopped(event);
    case S::Playing:
        return fromPlaying(event);
    case S::Searching:
        return fromSearching(event);
    case S::RecordingVideo:
        return fromRecordingVideo(event);
    }
    return std::nullopt;
}

} // namespace

std::optional<PlaybackTransition> PlaybackStateMachine::transitionFor(PlaybackState state,
                                                                      PlaybackEvent event) {
    // Drawing a frame changes no state; it only takes the gates away and gives them back.
    if (event == E::FrameDrawing) {
        PlaybackTransition t = to(state, state);
        t.gateDragAllowed = false;
        return t;
    }
    if (event == E::FrameShown) {
        PlaybackTransition t = to(state, state);
        t.gateDragAllowed = state != S::Searching;
        return t;
    }
    std::optional<PlaybackTransition> t = changeOfState(state, event);
    // Only a stopped window offers the gates at once; a run offers them after its first frame.
    if (t) t->gateDragAllowed = t->to == S::Stopped;
    return t;
}

std::optional<PlaybackTransition> PlaybackStateMachine::handle(PlaybackEvent event) {
    std::optional<PlaybackTransition> t = transitionFor(m_state, event);
    if (t) {
        m_state = t->to;
        m_gateDragAllowed = t->gateDragAllowed;
    }
    return t;
}

ControlAvailability PlaybackStateMachine::controlsIn(PlaybackState state) {
    ControlAvailability c;
    switch (state) {
    case S::Stopped:
        c.searchAvailable = c.aviSelectAvailable = c.navigationAvailable = true;
        break;
    case S::Playing:
        c.timerRunning = c.pauseCaption = c.navigationAvailable = true;
        break;
    case S::Searching:
        break;
    case S::RecordingVideo:
        // The range plays by itself; only the stop button answers.
        c.timerRunning = c.pauseCaption = true;
        break;
    }
    return c;
}

const char* playbackStateName(PlaybackState state) {
    switch (state) {
    case S::Stopped:
        return "Stopped";
    case S::Playing:
        return "Playing";
    case S::Searching:
        return "Searching";
    case S::RecordingVideo:
        return "RecordingVideo";
    }
    return "?";
}

const char* playbackEventName(PlaybackEvent event) {
    switch (event) {
    case E::Play:
        return "Play";
    case E::Pause:
        return "Pause";
    case E::ReachedEnd:
        return "ReachedEnd";
    case E::ShortRead:
        return "ShortRead";
    case E::SliderDragged:
        return "SliderDragged";
    case E::RecordingClosed:
        return "RecordingClosed";
    case E::SearchStarted:
        return "SearchStarted";
    case E::SearchFinished:
        return "SearchFinished";
    case E::VideoStarted:
        return "VideoStarted";
    case E::VideoStopped:
        return "VideoStopped";
    case E::FrameDrawing:
        return "FrameDrawing";
    case E::FrameShown:
        return "FrameShown";
    }
    return "?";
}

} // namespace pelix::playback
