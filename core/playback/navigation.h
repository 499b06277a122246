// The rules of the quick-move jumps and of the up-down arrows, apart from the
// widgets: which frame a frame number, a time or a flag names, which of them
// are refused, and where the arrows stop.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::playback {

enum class JumpKind { Frame, Time, Flag };

// An entry box's text (UTF-8) read as a whole number: blanks around it allowed,
// a fraction rounded half to even; nothing when it is not a number.
std::optional<int64_t> readWholeNumber(std::string_view text);

// The frame a jump names, or nothing when the target is refused.
std::optional<int32_t> jumpTarget(JumpKind kind, int64_t value, const recording::OpenRecording& recording);

// "Not valid frame", "Not valid time", "Not valid flag".
const char* jumpRefusal(JumpKind kind);

// The entry box's next number for an arrow, or nothing at the arrow's limit.
std::optional<int64_t> upDownStep(JumpKind kind, bool up, int64_t current,
                                  const recording::OpenRecording& recording);

} // namespace pelix::playback
