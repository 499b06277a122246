// The "Report…" action: asks which frames to show and where to save the PDF,
// writes the report with a progress dialog and says how it went.
#pragma once

#include "core/review/review_file.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QWidget;

namespace pelix::report {

// The frames the dialog offers at first: the flagged frames, else the frame on screen.
std::vector<int32_t> offeredReportFrames(const std::vector<int32_t>& flaggedFrames, int32_t currentFrame);

// What the window already holds of the recording's review: its review file as applied and the
// recording's identity once its SHA-256 is computed. Whatever is not given the report finds
// itself, hashing the recording under the progress dialog (which can cancel it).
struct KnownReview {
    std::optional<review::ReviewFile> review;
    std::optional<review::RecordingIdentity> identity;
};

void runReportAction(QWidget* owner, const QString& recording, const std::vector<int32_t>& flaggedFrames,
                     int32_t currentFrame, int32_t frameCount, const KnownReview& known = {});

} // namespace pelix::report
