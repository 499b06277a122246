#include "core/playback/mark_steps.h"

namespace pelix::playback {

namespace {

template <typename Frame>
std::optional<MarkStep> nearest(std::span<const Frame> frames, int32_t current, int32_t frameCount,
                                StepDirection direction) {
    std::optional<MarkStep> best;
    const bool next = direction == StepDirection::Next;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const Frame f = frames[i];
        if (f < 1 || f > frameCount) continue;
        if (next ? f <= current : f >= current) continue;
        const auto frame = static_cast<int32_t>(f);
        // Closer wins; of several marks on one frame the first in the list.
        if (!best || (next ? frame < best->frame : frame > best->frame)) best = MarkStep{frame, i};
    }
    return best;
}

} // namespace

std::optional<MarkStep> stepToMark(std::span<const int32_t> frames, int32_t current, int32_t frameCount,
                                   StepDirection direction) {
    return nearest(frames, current, frameCount, direction);
}

std::optional<MarkStep> stepToMark(std::span<const int64_t> frames, int32_t current, int32_t frameCount,
                                   StepDirection direction) {
    return nearest(frames, current, frameCount, direction);
}

const char* markName(MarkKind kind) {
    switch (kind) {
    case MarkKind::Flag:
        return "flag";
    case MarkKind::Bookmark:
        return "bookmark";
    case MarkKind::SearchMatch:
        return "search match";
    case MarkKind::Indication:
        return "indication";
    }
    return "mark";
}

std::string noMarkText(MarkKind kind, StepDirection direction) {
    return std::string(direction == StepDirection::Next ? "No next " : "No previous ") + markName(kind) + ".";
}

} // namespace pelix::playback
