// The review file's text: everything a reviewer adds comes back as it was
// written, and a file that cannot be vouched for is refused whole, with a
// reason that says where.
#include "core/review/review_json.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace pelix::review;

const std::string kSha(64, 'a');

ReviewFile fullReview() {
    ReviewFile r;
    r.recording = {"WELD 7.BIN", 6 * 1024 * 1024, kSha};
    for (const InspectionField& f : inspectionFields())
        r.inspection.*f.value = std::string(f.key) + " \"value\" ü";
    r.inspection.Notes = "line one\nline two\ttab \x01\x1f end";
    r.bookmarks = {{1, "root", "2026-12-08T10:00:00Z"},
                   {12, std::string(100000, 'x'), "2026-12-08T10:01:00Z"},
                   {12, "second at 12", ""},
                   {999999, "beyond the end", "2026-12-08T10:02:00Z"}};
    LastSession s;
    s.frame = 57;
    s.gateA = pelix::frame::DraggedGate{12.3F, -40};
    s.gateB = std::nullopt;
    s.searchBox = pelix::search::SearchLimits{100.5, 300.0, 20.0, 80.25};
    s.aviRange = AviRange{3, 40};
    s.windows = R"({"overview":{"open":true,"x":[1,2,3]},"bscan":{"open":false}})";
    r.lastSession = s;
    return r;
}

std::string minimal(const std::string& extra = "") {
    return R"({"Format":"pelix-review","Version":1,"Recording":{"Sha256":")" + kSha + "\"}" + extra + "}";
}

TEST(ReviewJson, EverythingWrittenReadsBackTheSame) {
    const ReviewFile written = fullReview();
    const ReviewParse read = parseReviewJson(reviewJson(written));
    ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
    EXPECT_EQ(*read.review, written);
    // The gate's single-precision start is written as it reads, not as its double expansion.
    EXPECT_NE(reviewJson(written).find("\"Start\": 12.3,"), std::string::npos);
}

TEST(ReviewJson, SinglePrecisionStartsSurviveTheRoundTrip) {
    for (const float start : {0.1F, 1.005F, 123.456F, 1e-7F, 3.4e38F, -0.0F, 16777217.0F, 0.3F}) {
        ReviewFile r;
        r.recording.sha256 = kSha;
        r.lastSession = LastSession{};
        r.lastSession->gateB = pelix::frame::DraggedGate{start, 100};
        const ReviewParse read = parseReviewJson(reviewJson(r));
        ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
        EXPECT_EQ(read.review->lastSession->gateB->start, start) << start;
    }
}

TEST(ReviewJson, MissingHarmlessFieldsTakeTheirDefaults) {
    const ReviewParse read = parseReviewJson(
        minimal(R"(,"Bookmarks":[{"Frame":5}],"LastSession":{"GateA":null},"Inspection":{})"));
    ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
    EXPECT_EQ(read.review->inspection, InspectionDetails{});
    ASSERT_EQ(read.review->bookmarks.size(), 1U);
    EXPECT_EQ(read.review->bookmarks[0], (Bookmark{5, "", ""}));
    EXPECT_EQ(read.review->lastSession, LastSession{});
    EXPECT_EQ(read.review->recording.size, 0U);
}

TEST(ReviewJson, BookmarksComeBackInFrameOrderKeepingTheOrderWithinAFrame) {
    const ReviewParse read = parseReviewJson(
        minimal(R"(,"Bookmarks":[{"Frame":9,"Text":"b"},{"Frame":2},{"Frame":9,"Text":"c"},{"Frame":-3}])"));
    ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
    std::vector<int64_t> frames;
    for (const Bookmark& b : read.review->bookmarks)
        frames.push_back(b.frame);
    EXPECT_EQ(frames, (std::vector<int64_t>{-3, 2, 9, 9}));
    EXPECT_EQ(read.review->bookmarks[2].text, "b");
}

TEST(ReviewJson, AnUppercaseHashIsTheSameRecording) {
    const std::string upper = std::string(64, 'A');
    const ReviewParse read =
        parseReviewJson(R"({"Format":"pelix-review","Version":1,"Recording":{"Sha256":")" + upper + "\"}}");
    ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
    EXPECT_EQ(read.review->recording.sha256, kSha);
}

struct BadText {
    const char* name;
    std::string text;
    ReviewProblem problem;
    const char* reasonHas;
};

class ReviewJsonRefuses : public ::testing::TestWithParam<BadText> {};

TEST_P(ReviewJsonRefuses, WithTheReason) {
    const ReviewParse read = parseReviewJson(GetParam().text);
    EXPECT_EQ(read.problem, GetParam().problem);
    EXPECT_FALSE(read.review.has_value());
    EXPECT_NE(read.reason.find(GetParam().reasonHas), std::string::npos) << read.reason;
}

const BadText kBadTexts[] = {
    {"Empty", "", ReviewProblem::NotJson, "not JSON"},
    {"CutShort", minimal().substr(0, 40), ReviewProblem::NotJson, "not JSON"},
    {"Garbage", "\x01\x02 review", ReviewProblem::NotJson, "not JSON"},
    {"NestedTooDeep", std::string(100, '[') + std::string(100, ']'), ReviewProblem::NotJson, "nested deeper"},
    {"AList", "[1,2]", ReviewProblem::NotReview, "not a review file"},
    {"AnotherFormat", R"({"Format":"other","Version":1})", ReviewProblem::NotReview, "not a review file"},
    {"NoVersion", R"({"Format":"pelix-review"})", ReviewProblem::OtherVersion, "version missing"},
    {"NextVersion", R"({"Format":"pelix-review","Version":2})", ReviewProblem::OtherVersion, "version 2"},
    {"VersionAsText", R"({"Format":"pelix-review","Version":"1"})", ReviewProblem::OtherVersion,
     "not a number"},
    {"NoRecording", R"({"Format":"pelix-review","Version":1})", ReviewProblem::BadContent,
     "Recording: missing"},
    {"NoHash", R"({"Format":"pelix-review","Version":1,"Recording":{"Name":"a"}})", ReviewProblem::BadContent,
     "Recording.Sha256: missing"},
    {"ShortHash", R"({"Format":"pelix-review","Version":1,"Recording":{"Sha256":"abc"}})",
     ReviewProblem::BadContent, "not 64 hexadecimal digits"},
    {"NegativeSize",
     R"({"Format":"pelix-review","Version":1,"Recording":{"Size":-1,"Sha256":")" + std::string(64, '0') +
         "\"}}",
     ReviewProblem::BadContent, "Recording.Size"},
    {"BookmarksNotAList", minimal(R"(,"Bookmarks":{})"), ReviewProblem::BadContent, "Bookmarks: not a list"},
    {"BookmarkWithoutFrame", minimal(R"(,"Bookmarks":[{"Frame":1},{"Text":"x"}])"), ReviewProblem::BadContent,
     "Bookmarks[1].Frame: missing"},
    {"FractionalFrame", minimal(R"(,"Bookmarks":[{"Frame":1.5}])"), ReviewProblem::BadContent,
     "Bookmarks[0].Frame: not a whole number"},
    {"HugeFrame", minimal(R"(,"Bookmarks":[{"Frame":18446744073709551615}])"), ReviewProblem::BadContent,
     "too large"},
    {"NumberAsText", minimal(R"(,"Bookmarks":[{"Frame":1,"Text":7}])"), ReviewProblem::BadContent,
     "Bookmarks[0].Text: not a text"},
    {"InspectionNotText", minimal(R"(,"Inspection":{"Operator":["a"]})"), ReviewProblem::BadContent,
     "Inspection.Operator: not a text"},
    {"ThresholdBeyondPicture", minimal(R"(,"LastSession":{"GateA":{"Start":1,"Threshold":101}})"),
     ReviewProblem::BadContent, "LastSession.GateA.Threshold"},
    {"GateWithoutStart", minimal(R"(,"LastSession":{"GateB":{"Threshold":50}})"), ReviewProblem::BadContent,
     "LastSession.GateB.Start: missing"},
    {"StartBeyondFloat", minimal(R"(,"LastSession":{"GateB":{"Start":1e300,"Threshold":50}})"),
     ReviewProblem::BadContent, "LastSession.GateB.Start"},
    {"BoxMissingALimit",
     minimal(
         R"(,"LastSession":{"SearchBox":{"SearchLowwidthRange":1,"SearchUpwidthRange":2,"SearchLowhightlimit":3}})"),
     ReviewProblem::BadContent, "SearchUphightlimit: missing"},
    {"WindowsNotAnObject", minimal(R"(,"LastSession":{"Windows":[1]})"), ReviewProblem::BadContent,
     "LastSession.Windows: not an object"},
};

INSTANTIATE_TEST_SUITE_P(BadTexts, ReviewJsonRefuses, ::testing::ValuesIn(kBadTexts),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReviewJson, WindowStateThatIsNotAnObjectIsWrittenAsNone) {
    ReviewFile r;
    r.recording.sha256 = kSha;
    r.lastSession = LastSession{};
    r.lastSession->windows = "[not json";
    const ReviewParse read = parseReviewJson(reviewJson(r));
    ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
    EXPECT_EQ(read.review->lastSession->windows, "{}");
}

TEST(ReviewJson, TextThatIsNotUtf8IsWrittenAsReplacementCharacters) {
    ReviewFile r;
    r.recording.sha256 = kSha;
    r.bookmarks = {{1, "ok \xff\xfe end", ""}};
    const ReviewParse read = parseReviewJson(reviewJson(r));
    ASSERT_EQ(read.problem, ReviewProblem::None) << read.reason;
    EXPECT_EQ(read.review->bookmarks[0].text, "ok \xEF\xBF\xBD\xEF\xBF\xBD end");
}

} // namespace
