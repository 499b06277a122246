#include "core/report/report_review.h"

#include "core/review/display_text.h"

#include <algorithm>

namespace pelix::report {

namespace {

constexpr const char* kEmptyField = "\xE2\x80\x94"; // an em dash: asked, left blank

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

ReportReview findReportReview(const std::string& recordingPath, const review::RecordingIdentity& identity) {
    ReportReview found;
    found.identity = identity;
    review::ReviewLoad load = review::findReview(recordingPath, identity);
    switch (load.problem) {
    case review::ReviewProblem::None:
        found.review = std::move(load.review);
        break;
    case review::ReviewProblem::NotFound:
        break; // the sections say there is none
    default:
        found.note = "The review file " + load.path + " is not applied: " + load.reason + ".";
        break;
    }
    return found;
}

std::string sha256Text(const ReportReview& found) {
    if (found.identity && !found.identity->sha256.empty()) return found.identity->sha256;
    return "not known: " + (found.identityError.empty() ? std::string("not computed") : found.identityError);
}

SummaryRows inspectionRows(const review::InspectionDetails& details) {
    SummaryRows rows;
    for (const review::InspectionField& field : review::inspectionFields()) {
        const std::string& value = details.*field.value;
        rows.emplace_back(std::string(field.caption), value.empty() ? kEmptyField : reportText(value));
    }
    return rows;
}

std::string reportText(std::string_view text, std::size_t maxCharacters) {
    std::string out;
    std::size_t budget = std::max<std::size_t>(maxCharacters, 1);
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        std::string_view line = text.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (at > 0) out += '\n';
        if (budget == 0) {
            out += "\xE2\x80\xA6";
            break;
        }
        const std::size_t length = characterCount(line);
        out += line.empty() ? std::string() : review::shortenedForDisplay(line, budget);
        budget -= std::min(length, budget);
        if (end >= text.size()) break;
        at = end + 1;
    }
    return out;
}

std::vector<BookmarkRow> bookmarkRows(const std::vector<review::Bookmark>& marks, int64_t frameCount,
                                      int32_t framesPerSecond) {
    std::vector<BookmarkRow> rows;
    rows.reserve(marks.size());
    for (const review::Bookmark& mark : marks) {
        BookmarkRow row;
        row[0] = std::to_string(mark.frame);
        if (review::isOutOfRange(mark, frameCount)) {
            row[1] = "out of range"; // kept in the file, pointing past the recording
        } else {
            row[1] = frameTimeText(mark.frame, framesPerSecond);
        }
        row[2] = reportText(mark.text);
        if (!mark.created.empty())
            row[2] += (row[2].empty() ? "(added " : "  (added ") + reportText(mark.created, 40) + ")";
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<int32_t> bookmarkedFrames(const std::vector<review::Bookmark>& marks, int64_t frameCount) {
    std::vector<int32_t> frames;
    for (const review::Bookmark& mark : marks)
        if (!review::isOutOfRange(mark, frameCount)) frames.push_back(static_cast<int32_t>(mark.frame));
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    return frames;
}

std::vector<std::string> notesAt(const std::vector<review::Bookmark>& marks, int64_t frame) {
    std::vector<std::string> notes;
    for (const review::Bookmark& mark : marks)
        if (mark.frame == frame) notes.push_back(reportText(mark.text));
    return notes;
}

} // namespace pelix::report
