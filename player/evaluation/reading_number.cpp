#include "player/evaluation/reading_number.h"

#include <array>

namespace pelix::player {

namespace {

constexpr std::array<std::string_view, 5> kUnits{"mm", "in", "us", "%", "dB"};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

ReadingNumber readingNumber(std::string_view text) {
    text = trimmed(text);
    if (!text.empty() && text.front() == '>') text.remove_prefix(1);

    std::size_t at = 0;
    const bool negative = at < text.size() && text[at] == '-';
    if (negative) ++at;
    const std::size_t wholeStart = at;
    while (at < text.size() && isDigit(text[at]))
        ++at;
    std::string_view whole = text.substr(wholeStart, at - wholeStart);
    std::string_view fraction;
    if (!whole.empty() && at + 1 < text.size() && (text[at] == '.' || text[at] == ',') &&
        isDigit(text[at + 1])) {
        const std::size_t fractionStart = ++at;
        while (at < text.size() && isDigit(text[at]))
            ++at;
        fraction = text.substr(fractionStart, at - fractionStart);
    }
    if (whole.empty()) return {};

    const std::string_view rest = trimmed(text.substr(at));
    std::string_view unit;
    if (!rest.empty()) {
        for (const std::string_view u : kUnits)
            if (rest == u) unit = u;
        // Anything else after the digits is not a measured number.
        if (unit.empty()) return {};
    }

    while (whole.size() > 1 && whole.front() == '0')
        whole.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.remove_suffix(1);
    const bool zero = whole == "0" && fraction.empty();
    ReadingNumber result;
    result.number.reserve(whole.size() + fraction.size() + 2);
    if (negative && !zero) result.number += '-';
    result.number += whole;
    if (!fraction.empty()) {
        result.number += '.';
        result.number += fraction;
    }
    result.unit = unit;
    return result;
}

} // namespace pelix::player
