#include "core/review/display_text.h"

#include <cstdint>
#include <vector>

namespace pelix::review {

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The next character of `text` from `at`, moving `at` past it; U+FFFD for a
// byte that starts no well-formed UTF-8 sequence (that byte alone is consumed).
char32_t nextCharacter(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const auto bad = [&] {
        ++at;
        return char32_t{0xFFFD};
    };
    std::size_t length = 0;
    char32_t c = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, least = 0x10000;
    } else {
        return bad();
    }
    if (at + length > text.size()) return bad();
    for (std::size_t k = 1; k < length; ++k) {
        const auto b = static_cast<unsigned char>(text[at + k]);
        if ((b & 0xC0) != 0x80) return bad();
        c = (c << 6) | (b & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return bad();
    at += length;
    return c;
}

char32_t shown(char32_t c) {
    if (c == '\n' || c == '\r' || c == '\t') return U' ';
    if (c < 0x20) return 0x2400 + c;
    if (c == 0x7F) return 0x2421;
    return c;
}

} // namespace

std::string shortenedForDisplay(std::string_view text, std::size_t maxCharacters) {
    if (maxCharacters == 0) maxCharacters = 1;
    std::string out;
    std::vector<std::size_t> ends; // out's size after each character, to cut back to
    std::size_t at = 0;
    while (at < text.size()) {
        if (ends.size() == maxCharacters) {
            // One more character follows: the last that fitted gives way to the ellipsis.
            out.resize(ends.size() >= 2 ? ends[ends.size() - 2] : 0);
            out += "…";
            return out;
        }
        appendUtf8(out, shown(nextCharacter(text, at)));
        ends.push_back(out.size());
    }
    return out;
}

std::string oneLineText(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return line;
}

} // namespace pelix::review
