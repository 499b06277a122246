// The walk from mark to mark with the keyboard: which frame the next or
// previous flag, bookmark, search match or indication stands on, seen from
// the frame on screen. The walk stops at the last mark each way rather than
// wrapping round: a reviewer going through a recording wants to know that the
// end has been reached, and the status line says so.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace pelix::playback {

enum class MarkKind { Flag, Bookmark, SearchMatch, Indication };
enum class StepDirection { Next, Previous };

struct MarkStep {
    int32_t frame = 0;     // the frame the mark stands on
    std::size_t index = 0; // the first of the given marks on that frame (its place in the list)
};

// The nearest mark after (or before) `current` among `frames` (any order,
// repeats allowed). Marks outside 1..frameCount point at no frame and are
// passed over. Nothing when no mark is left that way.
std::optional<MarkStep> stepToMark(std::span<const int32_t> frames, int32_t current, int32_t frameCount,
                                   StepDirection direction);
std::optional<MarkStep> stepToMark(std::span<const int64_t> frames, int32_t current, int32_t frameCount,
                                   StepDirection direction);

// "flag", "bookmark", "search match", "indication".
const char* markName(MarkKind kind);
// What the status line says when the walk is at its end: "No next bookmark.",
// "No previous flag."
std::string noMarkText(MarkKind kind, StepDirection direction);

} // namespace pelix::playback
