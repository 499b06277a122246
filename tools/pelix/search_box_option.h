// The search box given on the command line as "L,U,H1,H2", read the same way by
// every subcommand that takes one (`pelix search --box`, `pelix render --search-box`).
#pragma once

#include "core/search/search_limits.h"

#include <optional>
#include <string>

namespace pelix::tool {

struct SearchBoxOption {
    std::optional<search::SearchLimits> limits; // empty when the text is refused
    std::string error;                          // why it was refused (a usage error)
    std::string note;                           // set when limits were clamped
};

// L and U are edges on the 0..800 sample scale, H1 and H2 amplitudes in percent.
// Four finite numbers are needed; reversed limits (L > U or H1 > H2) are refused,
// since no trace passes through such a box. Limits beyond 0..800 or 0..100 are
// clamped to them, as the window keeps its box inside the picture, and `note`
// says so, naming `option`.
SearchBoxOption parseSearchBoxOption(const std::string& option, const std::string& text);

} // namespace pelix::tool
