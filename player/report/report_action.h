// The "Report…" action: asks which frames to show and where to save the PDF,
// writes the report with a progress dialog and says how it went.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class QWidget;

namespace pelix::report {

// The frames the dialog offers at first: the flagged frames, else the frame on screen.
std::vector<int32_t> offeredReportFrames(const std::vector<int32_t>& flaggedFrames, int32_t currentFrame);

void runReportAction(QWidget* owner, const QString& recording, const std::vector<int32_t>& flaggedFrames,
                     int32_t currentFrame, int32_t frameCount);

} // namespace pelix::report
