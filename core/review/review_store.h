// Where a recording's review file lives, and reading and keeping it.
//
// The file lies beside the recording, the recording's own name with
// ".review.json" added ("WELD.BIN.review.json", "weld.bin.review.json"): it
// travels with the recording. Where that folder cannot be written it goes to
// the user's data folder, named by the recording's SHA-256:
// $XDG_DATA_HOME/pelix-player/reviews/<sha256>.review.json (XDG_DATA_HOME
// defaulting to ~/.local/share). Lookup takes the same order.
//
// A review file that cannot be read, does not parse, is of another version or
// names another recording is not applied, and is never replaced: saving over
// it is refused with the same reason until the user moves it away.
#pragma once

#include "core/review/review_json.h"

#include <atomic>
#include <functional>
#include <optional>
#include <string>

namespace pelix::review {

// The review file's place beside the recording: its path with ".review.json" added.
std::string reviewPathBeside(const std::string& recordingPath);
// Its place in the user's data folder; empty when neither XDG_DATA_HOME nor
// HOME names an absolute folder.
std::string reviewPathInDataFolder(const std::string& sha256);

// The recording as a review file names it. The SHA-256 reads the whole file:
// `stop` (may be null) ends it early and `progress` follows it.
struct IdentifiedRecording {
    std::optional<RecordingIdentity> identity;
    std::string error; // why not, naming the file; empty when stopped on request
};
IdentifiedRecording identifyRecording(const std::string& recordingPath,
                                      const std::atomic<bool>* stop = nullptr,
                                      const std::function<void(std::uint64_t, std::uint64_t)>& progress = {});

struct ReviewLoad {
    ReviewProblem problem = ReviewProblem::NotFound;
    std::string reason; // for people; empty when found and applied
    // Where the review file was found; empty when there is none.
    std::string path;
    std::optional<ReviewFile> review; // set when problem is None
};

// Reads one review file, at most kMostReviewBytes.
ReviewLoad readReviewFile(const std::string& path);

// Why `review` does not belong to `recording`, or nothing when it does. An
// empty `recording.sha256` (not computed yet) checks the size alone.
std::optional<std::string> otherRecordingReason(const ReviewFile& review, const RecordingIdentity& recording);

// The review of the recording at `recordingPath`: the file beside it, else
// the one in the data folder (only when `recording.sha256` is known).
ReviewLoad findReview(const std::string& recordingPath, const RecordingIdentity& recording);

struct ReviewSave {
    bool saved = false;
    std::string path;  // where it was written
    std::string error; // why not: names the file; the file there is as it was
};

// Keeps `review` (which must name its recording's SHA-256) at `foundAt`, where
// it was read from; a new review (empty `foundAt`) goes beside the recording,
// or to the data folder when the recording's folder refuses it. Written to a
// temporary file and renamed into place: a failure leaves the old file whole.
// Never over the recording, and never over a file that is not a review of
// this same recording.
ReviewSave saveReview(const ReviewFile& review, const std::string& recordingPath, const std::string& foundAt);

} // namespace pelix::review
