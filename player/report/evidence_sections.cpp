#include "player/report/evidence_sections.h"

#include "player/report/report_painter.h"

namespace pelix::report {

namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// What a section from the review file says when there is no review to take it from.
QString withoutReview(const ReportReview& review) {
    return review.note.empty() ? QStringLiteral("No review file for this recording.")
                               : QStringLiteral("Not given: the review file is not applied (see above).");
}

} // namespace

QString reviewNoteLine(const ReportReview& review) {
    return review.review ? QString() : qs(review.note);
}

void inspectionSection(ReportPainter& p, const ReportReview& review) {
    p.heading(QStringLiteral("Inspection"), 12);
    if (!review.review) {
        p.paragraph(withoutReview(review), 10);
        return;
    }
    TextRows rows;
    for (const auto& [caption, value] : inspectionRows(review.review->inspection))
        rows.emplace_back(qs(caption), qs(value));
    p.table(rows, p.area().width() / 4);
}

void indicationsSection(ReportPainter& p, const ReportIndications& found, int32_t framesPerSecond) {
    p.heading(QStringLiteral("Indications"), 12);
    p.paragraph(qs(indicationsHeadline(found)), 10);
    if (found.listed.empty()) return;
    std::vector<QStringList> rows;
    rows.reserve(found.listed.size());
    for (std::size_t i = 0; i < found.listed.size(); ++i) {
        QStringList row;
        for (const std::string& cell : indicationRow(i + 1, found.listed[i], framesPerSecond))
            row << qs(cell);
        rows.push_back(std::move(row));
    }
    const int w = p.area().width();
    p.grid({QStringLiteral("#"), QStringLiteral("Frames"), QStringLiteral("Peak"),
            QStringLiteral("Drop extent"), QStringLiteral("Length"), QStringLiteral("Readings at the peak")},
           rows, {w * 5 / 100, w * 13 / 100, w * 17 / 100, w * 13 / 100, w * 15 / 100});
}

void bookmarksSection(ReportPainter& p, const ReportReview& review, int64_t frameCount,
                      int32_t framesPerSecond) {
    p.heading(QStringLiteral("Bookmarks"), 12);
    if (!review.review) {
        p.paragraph(withoutReview(review), 10);
        return;
    }
    if (review.review->bookmarks.empty()) {
        p.paragraph(QStringLiteral("No bookmarks."), 10);
        return;
    }
    std::vector<QStringList> rows;
    rows.reserve(review.review->bookmarks.size());
    for (const BookmarkRow& row : bookmarkRows(review.review->bookmarks, frameCount, framesPerSecond))
        rows.push_back({qs(row[0]), qs(row[1]), qs(row[2])});
    const int w = p.area().width();
    p.grid({QStringLiteral("Frame"), QStringLiteral("Time"), QStringLiteral("Note")}, rows,
           {w * 12 / 100, w * 18 / 100});
}

void frameNotes(ReportPainter& p, const ReportReview& review, int64_t frame) {
    if (!review.review) return;
    for (const std::string& note : notesAt(review.review->bookmarks, frame))
        p.paragraph(note.empty() ? QStringLiteral("Bookmark (no note)")
                                 : QStringLiteral("Bookmark: ") + qs(note),
                    10);
}

} // namespace pelix::report
