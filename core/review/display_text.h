// A reviewer's text made fit for one line of a list, a table or a terminal.
// The review file keeps the text as typed; only what is shown is shortened.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pelix::review {

// `text` on one line of at most `maxCharacters` characters (at least 1): line
// breaks and tabs become spaces, other control characters their visible
// symbols (U+2400..U+2421), bytes that are not UTF-8 U+FFFD; a longer text
// ends in "…" at the last character that fits.
std::string shortenedForDisplay(std::string_view text, std::size_t maxCharacters = 80);

// `text` whole on one line, for a line-based file: tabs and line breaks become spaces.
std::string oneLineText(std::string_view text);

} // namespace pelix::review
