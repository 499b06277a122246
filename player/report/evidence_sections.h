// The parts of the report's first pages that make it evidence: the inspection
// details and the bookmarks from the review file, and the indications of the
// recorded echo, each a section under its own heading that runs on to further
// pages when it is long.
#pragma once

#include "core/report/report_indications.h"
#include "core/report/report_review.h"

#include <QString>

namespace pelix::report {

class ReportPainter;

// The review file's line under the title when a review was found but is not applied; empty otherwise.
QString reviewNoteLine(const ReportReview& review);

void inspectionSection(ReportPainter& p, const ReportReview& review);
void indicationsSection(ReportPainter& p, const ReportIndications& found, int32_t framesPerSecond);
void bookmarksSection(ReportPainter& p, const ReportReview& review, int64_t frameCount,
                      int32_t framesPerSecond);

// The bookmark notes of one frame's page, under its heading.
void frameNotes(ReportPainter& p, const ReportReview& review, int64_t frame);

} // namespace pelix::report
