#include "core/playback/playback_state.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
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
    {S::Stopped, E::FrameDrawing, S::Stopped},
    {S::Stopped, E::FrameShown, S::Stopped},

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
    {S::Playing, E::FrameDrawing, S::Playing},
    {S::Playing, E::FrameShown, S::Playing},

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
    {S::Searching, E::FrameDrawing, S::Searching},
    {S::Searching, E::FrameShown, S::Searching},

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
    {S::RecordingVideo, E::FrameDrawing, S::RecordingVideo},
    {S::RecordingVideo, E::FrameShown, S::RecordingVideo},
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
    EXPECT_TRUE(stopped.searchAvailable && stopped.aviSelectAvailable);

    const ControlAvailability playing = PlaybackStateMachine::controlsIn(S::Playing);
    EXPECT_TRUE(playing.timerRunning && playing.pauseCaption && playing.navigationAvailable);
    EXPECT_FALSE(playing.searchAvailable || playing.aviSelectAvailable);

    // A search reads the whole recording: nothing may move the frame or start playback meanwhile.
    const ControlAvailability searching = PlaybackStateMachine::controlsIn(S::Searching);
    EXPECT_EQ(searching, ControlAvailability{});

    const ControlAvailability video = PlaybackStateMachine::controlsIn(S::RecordingVideo);
    EXPECT_TRUE(video.timerRunning);
    EXPECT_FALSE(video.searchAvailable || video.aviSelectAvailable);
}

// May the user grab a gate after each event in each state? Kept: the event is
// ignored and the decision stands as it was.
enum class Drag : uint8_t { No, Yes, Kept };
constexpr Drag N = Drag::No;
constexpr Drag Y = Drag::Yes;
constexpr Drag K = Drag::Kept;

struct DragRow {
    S state;
    std::array<Drag, kPlaybackEventCount> after; // in the order the events are declared
};

// Play Pause ReachedEnd ShortRead SliderDragged RecordingClosed SearchStarted SearchFinished
// VideoStarted VideoStopped FrameDrawing FrameShown
const DragRow kDragTable[] = {
    {S::Stopped, {N, K, K, K, K, K, N, K, N, K, N, Y}},
    // Between two steps of a run a gate may be grabbed; the next step's drawing lets it go.
    {S::Playing, {K, Y, Y, Y, Y, Y, K, K, K, K, N, Y}},
    {S::Searching, {K, K, K, K, K, Y, K, Y, K, K, N, N}},
    {S::RecordingVideo, {K, Y, Y, Y, Y, Y, K, K, K, Y, N, Y}},
};
static_assert(std::size(kDragTable) == kPlaybackStateCount);

TEST(GateDrag, EveryEventInEveryStateDecidesOrKeepsWhetherAGateMayBeGrabbed) {
    for (const DragRow& row : kDragTable) {
        // Once as the state is entered, once after a frame has been shown in it.
        for (const bool frameShown : {false, true}) {
            for (int e = 0; e < kPlaybackEventCount; ++e) {
                const auto event = static_cast<E>(e);
                PlaybackStateMachine m = machineIn(row.state);
                if (frameShown) m.handle(E::FrameShown);
                const bool before = m.gateDragAllowed();
                const std::optional<PlaybackTransition> t = m.handle(event);
                const Drag expected = row.after[static_cast<std::size_t>(e)];
                const std::string where = std::string(playbackStateName(row.state)) + " " +
                                          playbackEventName(event) + (frameShown ? " after a frame" : "");
                if (expected == K) {
                    EXPECT_FALSE(t.has_value()) << where;
                    EXPECT_EQ(m.gateDragAllowed(), before) << where;
                    continue;
                }
                ASSERT_TRUE(t.has_value()) << where;
                EXPECT_EQ(t->gateDragAllowed, expected == Y) << where;
                EXPECT_EQ(m.gateDragAllowed(), expected == Y) << where;
            }
        }
    }
}

TEST(GateDrag, NoGateBeforeTheFirstFrameNorWhileARunWaitsForItsFirstStep) {
    PlaybackStateMachine m;
    EXPECT_FALSE(m.gateDragAllowed());
    m.handle(E::FrameDrawing);
    EXPECT_FALSE(m.gateDragAllowed());
    m.handle(E::FrameShown);
    EXPECT_TRUE(m.gateDragAllowed());
    m.handle(E::Play);
    EXPECT_FALSE(m.gateDragAllowed());
    m.handle(E::FrameDrawing);
    m.handle(E::FrameShown);
    EXPECT_TRUE(m.gateDragAllowed());
    EXPECT_EQ(m.state(), S::Playing);
}

} // namespace
} // namespace pelix::playback::test
