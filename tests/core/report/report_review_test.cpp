// What the report takes from a review file: every inspection detail under its
// caption, reviewers' texts made fit for a page without losing their lines,
// and the bookmarks, including those that point past the recording.
#include "core/report/report_review.h"

#include <gtest/gtest.h>

namespace pelix::report {
namespace {

TEST(ReportReview, EveryInspectionDetailUnderItsCaptionAnEmptyOneAsADash) {
    review::InspectionDetails details;
    details.PartId = "W-17";
    details.Notes = "root pass\nground flush";
    const SummaryRows rows = inspectionRows(details);
    ASSERT_EQ(rows.size(), review::inspectionFields().size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const review::InspectionField& field = review::inspectionFields()[i];
        EXPECT_EQ(rows[i].first, field.caption);
        const std::string& typed = details.*field.value;
        // The notes keep their two lines.
        EXPECT_EQ(rows[i].second, typed.empty() ? std::string("\xE2\x80\x94") : typed) << field.key;
    }
}

TEST(ReportReview, TextsKeepTheirLinesShowControlCharactersAndStopAtTheirLimit) {
    const struct {
        const char* name;
        std::string typed;
        std::size_t limit;
        std::string shown;
    } cases[] = {
        {"Plain", "lack of fusion", 2000, "lack of fusion"},
        {"LinesKept", "line one\r\nline two\n\nline four", 2000, "line one\nline two\n\nline four"},
        {"BellAndEscapeShown",
         std::string("a\x07"
                     "b\x1b",
                     4),
         2000,
         "a\xE2\x90\x87"
         "b\xE2\x90\x9B"},
        {"TabIsASpace", "a\tb", 2000, "a b"},
        {"CutAtTheLimit", "abcdefghij", 5, "abcd\xE2\x80\xA6"},
        {"LimitSpansLines", "abc\ndefgh\nij", 6, "abc\nde\xE2\x80\xA6\n\xE2\x80\xA6"},
        {"NotUtf8", "caf\xE9", 2000, "caf\xEF\xBF\xBD"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reportText(c.typed, c.limit), c.shown) << c.name;
    // A note of 100,000 characters is given in part, never whole.
    const std::string huge(100000, 'x');
    EXPECT_LT(reportText(huge).size(), 2100U);
}

TEST(ReportReview, BookmarkedFramesWithinTheRecordingOnceEachAndTheirNotes) {
    const std::vector<review::Bookmark> marks = {
        {0, "before the first", ""},
        {3, "crack", "2026-12-08T12:57:21Z"},
        {3, "again", ""},
        {10, "last frame", ""},
        {11, "beyond", ""},
        {-5, "negative", ""},
    };
    EXPECT_EQ(bookmarkedFrames(marks, 10), (std::vector<int32_t>{3, 10}));
    EXPECT_EQ(notesAt(marks, 3), (std::vector<std::string>{"crack", "again"}));
    EXPECT_TRUE(notesAt(marks, 4).empty());

    const std::vector<BookmarkRow> rows = bookmarkRows(marks, 10, 50);
    ASSERT_EQ(rows.size(), marks.size()); // a mark is never dropped for where it points
    EXPECT_EQ(rows[1], (BookmarkRow{"3", "0.04 s", "crack  (added 2026-12-08T12:57:21Z)"}));
    EXPECT_EQ(rows[4][1], "out of range");
    EXPECT_EQ(rows[0][1], "out of range");
}

TEST(ReportReview, TheDigestOrWhyItIsNotKnown) {
    ReportReview found;
    found.identityError = "READ.BIN: Input/output error";
    EXPECT_EQ(sha256Text(found), "not known: READ.BIN: Input/output error");
    found.identity = review::RecordingIdentity{"A.BIN", 10, std::string(64, 'a')};
    EXPECT_EQ(sha256Text(found), std::string(64, 'a'));
}

} // namespace
} // namespace pelix::report
