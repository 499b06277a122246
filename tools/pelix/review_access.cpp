#include "tools/pelix/review_access.h"

#include "tools/pelix/command_line.h"
#include "tools/pelix/subcommands.h"

#include <iostream>

namespace pelix::tool {

std::optional<int> openReview(const char* command, const std::string& recordingPath, ReviewAccess& access) {
    recording::OpenOutcome outcome = recording::OpenRecording::open(recordingPath);
    if (!outcome.recording) return reportRejected(outcome);
    access.recording = std::move(outcome.recording);
    const review::IdentifiedRecording id = review::identifyRecording(recordingPath);
    if (!id.identity) {
        std::cerr << "pelix " << command << ": " << id.error << "\n";
        return kExitRejected;
    }
    access.identity = *id.identity;
    review::ReviewLoad load = review::findReview(recordingPath, access.identity);
    if (load.problem == review::ReviewProblem::NotFound) {
        access.review.recording = access.identity;
        return std::nullopt;
    }
    if (load.problem != review::ReviewProblem::None) {
        std::cerr << "pelix " << command << ": " << load.path << ": " << load.reason
                  << "; the review file is not applied and is left as it is\n";
        return kExitReviewRefused;
    }
    access.foundAt = load.path;
    access.review = std::move(*load.review);
    return std::nullopt;
}

int keepReview(const char* command, ReviewAccess& access) {
    // The hash matched: the name and size are brought up to date with the file as it is now.
    access.review.recording = access.identity;
    const review::ReviewSave saved =
        review::saveReview(access.review, access.recording->path(), access.foundAt);
    if (!saved.saved) {
        std::cerr << "pelix " << command << ": " << saved.error << "\n";
        return kExitWriteFailed;
    }
    access.foundAt = saved.path;
    return kExitOk;
}

} // namespace pelix::tool
