#include "core/playback/playback_state.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace pelix::playback::test {
namespace {

using S = PlaybackState;
using E = PlaybackEvent;

// One row per (state, event): the state that follows (nullopt: the event is
// ignored) and the side effects the window must carry out.
struct Row {
    S from;
    E event;
    std::optional<S> to;
    bool stepBack = false;
    bool finishVideo = false;
    bool clearSearch = false;
};

constexpr std::optional<S> kIgnored = std::nullopt;

const Row kTable[] = {
    {S::Stopped, E::Play, S::Playing, false, false, true},
    {S::Stopped, E::Pause, kIgnored},
    {S::Stopped, E::ReachedEnd, kIgnored},
    {S::Stopped, E::ShortRead, kIgnored},
    {S::Stopped, E::SliderDragged, kIgnored},
    {S::Stopped, E::RecordingClosed, kIgnored},
    {S::Stopped, E::SearchStarted, S::Searching},
    {S::Stopped, E::SearchFinished, kIgnored},
    {S::Stopped, E::VideoStarted, S::RecordingVideo, false, false, true},
    {S::Stopped, E::VideoStopped, kIgnored},

    {S::Playing, E::Play, kIgnored},
    {S::Playing, E::Pause, S::Stopped, true},
    {S::Playing, E::ReachedEnd, S::Stopped, true},
    {S::Playing, E::ShortRead, S::Stopped, true},
    {S::Playing, E::SliderDragged, S::Stopped},
    {S::Playing, E::RecordingClosed, S::Stopped},
    {S::Playing, E::SearchStarted, kIgnored},
    {S::Playing, E::SearchFinished, kIgnored},
    {S::Playing, E::VideoStarted, kIgnored},
    {S::Playing, E::VideoStopped, kIgnored},

    {S::Searching, E::Play, kIgnored},
    {S::Searching, E::Pause, kIgnored},
    {S::Searching, E::ReachedEnd, kIgnored},
    {S::Searching, E::ShortRead, kIgnored},
    {S::Searching, E::SliderDragged, kIgnored},
    {S::Searching, E::RecordingClosed, S::Stopped},
    {S::Searching, E::SearchStarted, kIgnored},
    {S::Searching, E::SearchFinished, S::Stopped},
    {S::Searching, E::VideoStarted, kIgnored},
    {S::Searching, E::VideoStopped, kIgnored},

    {S::RecordingVideo, E::Play, kIgnored},
    {S::RecordingVideo, E::Pause, S::Stopped, true, true},
    {S::RecordingVideo, E::ReachedEnd, S::Stopped, true, true},
    {S::RecordingVideo, E::ShortRead, S::Stopped, true, true},
    {S::RecordingVideo, E::SliderDragged, S::Stopped, false, true},
    {S::RecordingVideo, E::RecordingClosed, S::Stopped, false, true},
    {S::RecordingVideo, E::SearchStarted, kIgnored},
    {S::RecordingVideo, E::SearchFinished, kIgnored},
    {S::RecordingVideo, E::VideoStarted, kIgnored},
    {S::RecordingVideo, E::VideoStopped, S::Stopped, true, true},
};

static_assert(std::size(kTable) == kPlaybackStateCount * kPlaybackEventCount, "every event in every state");

class EveryEventInEveryState : public ::testing::TestWithParam<Row> {};

// Drives a machine into the row's state through real transitions.
PlaybackStateMachine machineIn(S state) {
    PlaybackStateMachine m;
    switch (state) {
    case S::Stopped:
        break;
    case S::Playing:
        m.handle(E::Play);
        break;
    case S::Searching:
        m.handle(E::SearchStarted);
        break;
    case S::RecordingVideo:
        m.handle(E::VideoStarted);
        break;
    }
    return m;
}

TEST_P(EveryEventInEveryState, FollowsTheTable) {
    const Row& row = GetParam();
    PlaybackStateMachine m = machineIn(row.from);
    ASSERT_EQ(m.state(), row.from);
    const std::optional<PlaybackTransition> t = m.handle(row.event);
    if (!row.to) {
        EXPECT_FALSE(t.has_value());
        EXPECT_EQ(m.state(), row.from) << "an ignored event leaves the state alone";
        return;
    }
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->from, row.from);
    EXPECT_EQ(t->to, *row.to);
    EXPECT_EQ(m.state(), *row.to);
    EXPECT_EQ(t->stepBack, row.stepBack);
    EXPECT_EQ(t->finishVideo, row.finishVideo);
    EXPECT_EQ(t->clearSearch, row.clearSearch);
}

INSTANTIATE_TEST_SUITE_P(Table, EveryEventInEveryState, ::testing::ValuesIn(kTable),
                         [](const ::testing::TestParamInfo<Row>& info) {
                             return std::string(playbackStateName(info.param.from)) + "_" +
                                    playbackEventName(info.param.event);
                         });

TEST(PlaybackControls, EachStateOffersWhatItsUserMayDo) {
    const ControlAvailability stopped = PlaybackStateMachine::controlsIn(S::Stopped);
    EXPECT_FALSE(stopped.timerRunning);
    EXPECT_TRUE(stopped.searchAvailable && stopped.aviSelectAvailable && stopped.gateDragAllowed);

    const ControlAvailability playing = PlaybackStateMachine::controlsIn(S::Playing);
    EXPECT_TRUE(playing.timerRunning && playing.pauseCaption && playing.navigationAvailable);
    EXPECT_FALSE(playing.searchAvailable || playing.aviSelectAvailable || playing.gateDragAllowed);

    // A search reads the whole recording: nothing may move the frame or start playback meanwhile.
    const ControlAvailability searching = PlaybackStateMachine::controlsIn(S::Searching);
    EXPECT_EQ(searching, ControlAvailability{});

    const ControlAvailability video = PlaybackStateMachine::controlsIn(S::RecordingVideo);
    EXPECT_TRUE(video.timerRunning);
    EXPECT_FALSE(video.searchAvailable || video.aviSelectAvailable || video.gateDragAllowed);
}

} // namespace
} // namespace pelix::playback::test
