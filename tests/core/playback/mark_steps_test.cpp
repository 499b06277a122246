// The keyboard walk from mark to mark: where it lands, what it passes over
// and where it stops.
#include "core/playback/mark_steps.h"

#include "support/case_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace pelix::playback {
namespace {

struct StepCase {
    const char* name;
    std::vector<int32_t> frames;
    int32_t current;
    StepDirection direction;
    std::optional<MarkStep> expected;
};

constexpr int32_t kFrames = 100;

class MarkStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(MarkStepTest, LandsOnTheNearestMarkThatWay) {
    const StepCase& c = GetParam();
    const auto step = stepToMark(std::span<const int32_t>(c.frames), c.current, kFrames, c.direction);
    ASSERT_EQ(step.has_value(), c.expected.has_value());
    if (!step) return;
    EXPECT_EQ(step->frame, c.expected->frame);
    EXPECT_EQ(step->index, c.expected->index);
}

constexpr auto kNext = StepDirection::Next;
constexpr auto kPrevious = StepDirection::Previous;

INSTANTIATE_TEST_SUITE_P(
    Walks, MarkStepTest,
    ::testing::Values(StepCase{"next from between marks", {10, 30, 50}, 20, kNext, MarkStep{30, 1}},
                      StepCase{"previous from between marks", {10, 30, 50}, 40, kPrevious, MarkStep{30, 1}},
                      // The mark on screen is not the next one: the walk moves on.
                      StepCase{"next from a mark", {10, 30, 50}, 30, kNext, MarkStep{50, 2}},
                      StepCase{"previous from a mark", {10, 30, 50}, 30, kPrevious, MarkStep{10, 0}},
                      // At the ends it stays: no wrapping round.
                      StepCase{"next after the last", {10, 30, 50}, 50, kNext, std::nullopt},
                      StepCase{"previous before the first", {10, 30, 50}, 10, kPrevious, std::nullopt},
                      StepCase{"no marks", {}, 1, kNext, std::nullopt},
                      // Search matches and indications come in list order, not frame order.
                      StepCase{"unsorted next", {70, 20, 45, 90}, 30, kNext, MarkStep{45, 2}},
                      StepCase{"unsorted previous", {70, 20, 45, 90}, 80, kPrevious, MarkStep{70, 0}},
                      // Several marks on one frame: the first of them in the list.
                      StepCase{"repeated frame", {5, 40, 40, 40}, 10, kNext, MarkStep{40, 1}},
                      StepCase{"repeated frame backwards", {40, 40, 60}, 50, kPrevious, MarkStep{40, 0}},
                      // Marks pointing at no frame of the recording are passed over.
                      StepCase{"beyond the last frame", {20, 101, 5000}, 20, kNext, std::nullopt},
                      StepCase{"beyond the last, then a real one", {101, 99}, 50, kNext, MarkStep{99, 1}},
                      StepCase{"zero and negative", {0, -3, 7}, 50, kPrevious, MarkStep{7, 2}},
                      StepCase{"only out of range behind", {0, -1}, 50, kPrevious, std::nullopt},
                      StepCase{"first and last frame", {1, kFrames}, 50, kNext, MarkStep{kFrames, 1}},
                      StepCase{"first frame backwards", {1, kFrames}, 50, kPrevious, MarkStep{1, 0}}),
    [](const auto& info) { return pelix::testing::caseName(info.param.name); });

TEST(MarkStep, BookmarkFramesBeyondAnyFrameNumberArePassedOver) {
    // A review file may name frames no recording has; they must not wrap into range.
    const std::vector<int64_t> frames{int64_t{1} << 32, int64_t{1} << 32 | 3, -(int64_t{1} << 40), 12};
    const auto next = stepToMark(std::span<const int64_t>(frames), 1, 50, StepDirection::Next);
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->frame, 12);
    EXPECT_EQ(next->index, 3u);
    EXPECT_FALSE(stepToMark(std::span<const int64_t>(frames), 12, 50, StepDirection::Next).has_value());
}

TEST(MarkStep, WithoutARecordingNothingIsAMark) {
    const std::vector<int32_t> frames{1, 2, 3};
    EXPECT_FALSE(stepToMark(std::span<const int32_t>(frames), 0, 0, StepDirection::Next).has_value());
}

TEST(MarkStep, TheStatusLineNamesTheKindAndTheWay) {
    EXPECT_EQ(noMarkText(MarkKind::Bookmark, StepDirection::Next), "No next bookmark.");
    EXPECT_EQ(noMarkText(MarkKind::Flag, StepDirection::Previous), "No previous flag.");
    EXPECT_EQ(noMarkText(MarkKind::SearchMatch, StepDirection::Next), "No next search match.");
    EXPECT_EQ(noMarkText(MarkKind::Indication, StepDirection::Previous), "No previous indication.");
}

} // namespace
} // namespace pelix::playback
