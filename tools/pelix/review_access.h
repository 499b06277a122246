// What the review subcommands share: the recording opened and named by its
// SHA-256, its review file found (or a new one begun), and the review kept.
#pragma once

#include "core/recording/open_recording.h"
#include "core/review/review_store.h"

#include <memory>
#include <optional>
#include <string>

namespace pelix::tool {

struct ReviewAccess {
    std::unique_ptr<recording::OpenRecording> recording;
    review::RecordingIdentity identity;
    std::string foundAt;       // where the review file was read; empty for a new one
    review::ReviewFile review; // as read, or a new one naming the recording
};

// Opens the recording and its review. On failure says why on standard error,
// as "pelix COMMAND: ...", and gives the exit status: 3 for a rejected
// recording, 5 for a review file that is not applied.
std::optional<int> openReview(const char* command, const std::string& recordingPath, ReviewAccess& access);

// Writes the review back; 0, or 1 after saying why.
int keepReview(const char* command, ReviewAccess& access);

} // namespace pelix::tool
