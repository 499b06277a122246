#include "player/playback/navigation.h"

#include "player/recording/open_recording.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace pelix::player {

std::optional<int64_t> readWholeNumber(const QString& text) {
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+(\\.\\d*)?|\\.\\d+)\\s*$"));
    if (!number.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
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

QString jumpRefusal(JumpKind kind) {
    switch (kind) {
    case JumpKind::Frame:
        return QStringLiteral("Not valid frame");
    case JumpKind::Time:
        return QStringLiteral("Not valid time");
    case JumpKind::Flag:
        return QStringLiteral("Not valid flag");
    }
    return {};
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

} // namespace pelix::player
