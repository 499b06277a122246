#include "core/evaluation/reading_number.h"

namespace pelix::evaluation {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The unit a reading text ends in; none for anything else after the digits.
bool unitOf(const char* p, const char* end, std::string_view& unit) {
    const auto is = [&](std::string_view u) {
        return static_cast<std::size_t>(end - p) == u.size() && std::string_view(p, u.size()) == u;
    };
    for (const std::string_view u : {"mm", "in", "us", "%", "dB"}) {
        if (is(u)) {
            unit = u;
            return true;
        }
    }
    return p == end;
}

} // namespace

ReadingNumber readingNumber(std::string_view text) {
    // Raw pointers: this runs for every slot of every frame of a table.
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && *p == ' ')
        ++p;
    while (end > p && end[-1] == ' ')
        --end;
    if (p < end && *p == '>') ++p;

    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    const char* whole = p;
    while (p < end && isDigit(*p))
        ++p;
    const char* wholeEnd = p;
    const char* fraction = p;
    const char* fractionEnd = p;
    if (wholeEnd > whole && end - p >= 2 && (*p == '.' || *p == ',') && isDigit(p[1])) {
        fraction = ++p;
        while (p < end && isDigit(*p))
            ++p;
        fractionEnd = p;
    }
    ReadingNumber result;
    if (wholeEnd == whole || !unitOf(p, end, result.unit)) return {};
    if (static_cast<std::size_t>(end - text.data()) + 2 > ReadingNumber::kCapacity) return {};

    while (wholeEnd - whole > 1 && *whole == '0')
        ++whole;
    while (fractionEnd > fraction && fractionEnd[-1] == '0')
        --fractionEnd;
    const bool zero = wholeEnd - whole == 1 && *whole == '0' && fractionEnd == fraction;
    char* out = result.digitBuffer.data();
    if (negative && !zero) *out++ = '-';
    for (const char* c = whole; c < wholeEnd; ++c)
        *out++ = *c;
    if (fractionEnd > fraction) {
        *out++ = '.';
        for (const char* c = fraction; c < fractionEnd; ++c)
            *out++ = *c;
    }
    result.digitCount = static_cast<std::size_t>(out - result.digitBuffer.data());
    return result;
}

} // namespace pelix::evaluation
