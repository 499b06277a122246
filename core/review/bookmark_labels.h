// Bookmarks as label files, the tab-separated text that audio editors read
// and write: one label a line, "START<TAB>END<TAB>TEXT", times in seconds
// from the start. Frame N starts (N - 1) / rate seconds into the recording.
#pragma once

#include "core/review/review_file.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelix::review {

// Seconds from the recording's start to the start of frame `frame` (1-based).
double frameStartSeconds(int64_t frame, int32_t framesPerSecond);

struct LabelImport {
    std::vector<Bookmark> marks; // in the file's order
    // One entry per line that was not imported: "line 7: the start is not a number".
    std::vector<std::string> refusedLines;
};

// Each label becomes one bookmark at the frame its start falls in. A range
// (end after start) keeps its end in the note: "TEXT (to 12.5 s)". Every mark
// gets `created` as its creation time. `framesPerSecond` must be positive.
LabelImport importLabels(std::string_view text, int32_t framesPerSecond, const std::string& created);

// The bookmarks as point labels (start = end = their frame's start). Tabs
// and line breaks in a note become spaces: a label has one line. Marks before
// frame 1 have no time and are left out; `skipped` counts them.
std::string exportLabels(std::span<const Bookmark> marks, int32_t framesPerSecond,
                         std::size_t* skipped = nullptr);

} // namespace pelix::review
