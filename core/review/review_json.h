// The review file's text: one JSON object, keys as docs/review-file.md lists
// them. Reading checks every field it applies; a file it cannot vouch for is
// refused whole, with the reason, and is never partly applied.
#pragma once

#include "core/review/review_file.h"

#include <optional>
#include <string>
#include <string_view>

namespace pelix::review {

// Why a review file is not applied.
enum class ReviewProblem {
    None,
    NotFound,       // no review file for this recording yet
    Unreadable,     // it exists but cannot be read (a folder, no permission, an I/O error)
    TooLarge,       // over kMostReviewBytes: no review of ours grows that big
    NotJson,        // the text does not parse
    NotReview,      // JSON, but not a review file (no or another "Format")
    OtherVersion,   // a review file of a version this program does not read
    BadContent,     // a field it needs is missing, or a field holds the wrong kind of value
    OtherRecording, // it names another recording (its SHA-256 or size differs)
};

// A review file of 10,000 bookmarks with long notes is about 2 MiB.
inline constexpr std::uint64_t kMostReviewBytes = 16ULL * 1024 * 1024;

struct ReviewParse {
    std::optional<ReviewFile> review; // set when problem is None
    ReviewProblem problem = ReviewProblem::None;
    std::string reason; // for people: what is wrong and where, e.g. "Bookmarks[3].Frame: not a whole number"
};

// The file's text: indented, ending in a newline, texts as UTF-8 (a byte that
// is not becomes U+FFFD).
std::string reviewJson(const ReviewFile& review);
ReviewParse parseReviewJson(std::string_view text);

} // namespace pelix::review
