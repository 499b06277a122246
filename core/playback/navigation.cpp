#include "core/playback/navigation.h"

#include "core/recording/open_recording.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace pelix::playback {

namespace {
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
} // namespace

std::optional<int64_t> readWholeNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    // [+-] digits [. digits] or [+-] . digits, nothing else.
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (!std::all_of(whole.begin(), whole.end(), isDigit) ||
        !std::all_of(fraction.begin(), fraction.end(), isDigit))
        return std::nullopt;
    if (whole.empty() && fraction.empty()) return std::nullopt;
    const std::string number =
        std::string(whole.empty() ? "0" : whole) + "." + std::string(fraction.empty() ? "0" : fraction);
    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too large for a double is not a number the box can hold; too small is zero.
        if (whole.find_first_not_of('0') != std::string_view::npos) return std::nullopt;
        value = 0.0;
    } else if (error != std::errc{} || end != number.data() + number.size()) {
        return std::nullopt;
    }
    if (negative) value = -value;
    // Far beyond any frame, time or flag; kept finite so the jump can refuse it.
    constexpr double kLimit = 9.0e15;
    return static_cast<int64_t>(std::nearbyint(std::clamp(value, -kLimit, kLimit)));
}

std::optional<int32_t> jumpTarget(JumpKind kind, int64_t value, const recording::OpenRecording& recording) {
    switch (kind) {
    case JumpKind::Frame:
        if (value < 1 || value > recording.FrameCount()) return std::nullopt;
        return static_cast<int32_t>(value);
    case JumpKind::Time: {
        if (value < 0 || value > recording.TotalSeconds()) return std::nullopt;
        // The last whole second of a recording that fills it exactly starts one
        // frame past the end; its last frame is the nearest that exists.
        const int64_t frame = value * recording.framesPerSecond() + 1;
        return static_cast<int32_t>(std::min<int64_t>(frame, recording.FrameCount()));
    }
    case JumpKind::Flag: {
        if (value < 1 || value > recording.FlagCount()) return std::nullopt;
        // A flag the instrument counted but the scan never found names no frame.
        const int32_t frame = recording.flags().at(value);
        if (frame < 1) return std::nullopt;
        return frame;
    }
    }
    return std::nullopt;
}

const char* jumpRefusal(JumpKind kind) {
    switch (kind) {
    case JumpKind::Frame:
        return "Not valid frame";
    case JumpKind::Time:
        return "Not valid time";
    case JumpKind::Flag:
        return "Not valid flag";
    }
    return "";
}

std::optional<int64_t> upDownStep(JumpKind kind, bool up, int64_t current,
                                  const recording::OpenRecording& recording) {
    int64_t lowest = 1;
    int64_t highest = 1;
    switch (kind) {
    case JumpKind::Frame:
        highest = recording.FrameCount();
        break;
    case JumpKind::Time:
        lowest = 0;
        highest = recording.TotalSeconds();
        break;
    case JumpKind::Flag:
        highest = recording.FlagCount();
        break;
    }
    if (up) {
        if (current < highest) return current + 1;
    } else if (current > lowest) {
        return current - 1;
    }
    return std::nullopt;
}

} // namespace pelix::playback
