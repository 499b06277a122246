#include "platform/path_bytes.h"

#include <cstdint>

namespace pelix::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // + the byte (0x80..0xFF)

// The length of the well-formed UTF-8 sequence at `at`, or 0 when the byte
// there starts none (stray continuation, overlong form, surrogate, > U+10FFFF).
std::size_t sequenceLength(std::string_view s, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(s[i]); };
    const uint8_t lead = byte(at);
    if (lead < 0x80) return 1;
    std::size_t length = 0;
    uint8_t low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > s.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
    return length;
}

} // namespace

QString pathFromBytes(std::string_view bytes) {
    QString out;
    out.reserve(static_cast<qsizetype>(bytes.size()));
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t run = at;
        while (run < bytes.size()) {
            const std::size_t n = sequenceLength(bytes, run);
            if (n == 0) break;
            run += n;
        }
        if (run > at) out += QString::fromUtf8(bytes.data() + at, static_cast<qsizetype>(run - at));
        if (run < bytes.size()) {
            out += QChar(static_cast<char16_t>(kEscapeBase + static_cast<uint8_t>(bytes[run])));
            ++run;
        }
        at = run;
    }
    return out;
}

std::string pathToBytes(const QString& path) {
    std::string out;
    out.reserve(static_cast<std::size_t>(path.size()));
    qsizetype runStart = 0;
    const auto flush = [&](qsizetype end) {
        if (end > runStart) out += path.mid(runStart, end - runStart).toStdString();
    };
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path.at(i).unicode();
        // A kept byte is a low surrogate with no high surrogate before it.
        const bool kept = c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF &&
                          (i == 0 || !path.at(i - 1).isHighSurrogate());
        if (!kept) continue;
        flush(i);
        out += static_cast<char>(c - kEscapeBase);
        runStart = i + 1;
    }
    flush(path.size());
    return out;
}

} // namespace pelix::platform
