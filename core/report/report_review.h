// What an inspection report says from the recording's review file: which
// recording it is (name, size, SHA-256), the inspection details, the
// bookmarks with their notes, and, when there is no review to apply, why.
#pragma once

#include "core/report/report_summary.h"
#include "core/review/review_store.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pelix::report {

// The review as the report applies it.
struct ReportReview {
    // The recording as named by its SHA-256; none when it could not be read whole.
    std::optional<review::RecordingIdentity> identity;
    std::string identityError;                // why there is no identity
    std::optional<review::ReviewFile> review; // none: nothing to apply
    // Why the review file found is not applied, in one line; empty when none was found.
    std::string note;
};

// The review of the recording at `recordingPath` found where the command-line verbs find it.
ReportReview findReportReview(const std::string& recordingPath, const review::RecordingIdentity& identity);

// The SHA-256 row's text: the 64 digits, or why they are not known.
std::string sha256Text(const ReportReview& found);

// Every inspection detail with its caption, in the form's order; an empty one reads "—".
SummaryRows inspectionRows(const review::InspectionDetails& details);

// A reviewer's text fit for a report: each line kept, control characters shown as their
// symbols, and a text longer than `maxCharacters` cut there with "…" (the file keeps it whole).
std::string reportText(std::string_view text, std::size_t maxCharacters = 2000);

// A bookmark as the report lists it: frame, time, note (created time after it), with a
// mark beyond the recording's frames said to be so.
using BookmarkRow = std::array<std::string, 3>;
std::vector<BookmarkRow> bookmarkRows(const std::vector<review::Bookmark>& marks, int64_t frameCount,
                                      int32_t framesPerSecond);

// The frames that carry a bookmark within 1..frameCount, ascending, each once.
std::vector<int32_t> bookmarkedFrames(const std::vector<review::Bookmark>& marks, int64_t frameCount);

// The notes of the bookmarks at `frame`, in the order they were added, each made fit by reportText.
std::vector<std::string> notesAt(const std::vector<review::Bookmark>& marks, int64_t frame);

} // namespace pelix::report
