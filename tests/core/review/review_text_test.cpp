// The texts around a review: notes shortened for one line of a list, the
// inspection keys the command line takes, and the bookmarks' order.
#include "core/review/display_text.h"
#include "core/review/review_file.h"

#include <gtest/gtest.h>

namespace {

using namespace pelix::review;

struct Shortening {
    std::string text;
    std::size_t most;
    std::string shown;
};

TEST(DisplayText, OneLineAtMostSoManyCharacters) {
    const Shortening cases[] = {
        {"short", 80, "short"},
        {"exactly5", 8, "exactly5"},
        {"123456789", 8, "1234567…"},
        {"line\nbreak\ttab\r", 80, "line break tab "},
        {std::string("bell\x07 esc\x1b del\x7f nul") + '\0', 80, "bell␇ esc␛ del␡ nul␀"},
        {"äöüßäöü", 4, "äöü…"}, // cut between characters, never inside one
        {"a\xff"
         "b\xe2\x82",
         80, "a�b��"},               // a lone byte and a sequence cut short
        {"\xed\xa0\x80", 80, "���"}, // a surrogate is not a character
        {"anything", 0, "…"},
        {std::string(100000, 'x'), 10, std::string(9, 'x') + "…"},
    };
    for (const Shortening& c : cases)
        EXPECT_EQ(shortenedForDisplay(c.text, c.most), c.shown) << c.text.substr(0, 20);
}

TEST(InspectionFields, KeysAreFoundWhateverTheirLetterCaseAndNameDistinctFields) {
    ASSERT_EQ(inspectionFields().size(), 16U);
    InspectionDetails details;
    for (const InspectionField& f : inspectionFields()) {
        std::string lower(f.key);
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        ASSERT_EQ(findInspectionField(lower), &f);
        EXPECT_TRUE((details.*f.value).empty()) << f.key << " shares its value with another field";
        details.*f.value = f.key;
    }
    EXPECT_EQ(details.ProbeSerial, "ProbeSerial");
    EXPECT_EQ(findInspectionField("Probe Serial"), nullptr);
    EXPECT_EQ(findInspectionField(""), nullptr);
}

TEST(Bookmarks, AddedByFrameAfterThoseAlreadyThereAndDeletedByFrame) {
    ReviewFile review;
    for (const auto& [frame, text] :
         std::vector<std::pair<int64_t, std::string>>{{5, "a"}, {2, "b"}, {5, "c"}, {9, "d"}, {2, "e"}})
        addBookmark(review, {frame, text, ""});
    std::string order;
    for (const Bookmark& b : review.bookmarks)
        order += b.text;
    EXPECT_EQ(order, "beacd");
    EXPECT_EQ(deleteBookmarksAt(review, 5), 2U);
    EXPECT_EQ(deleteBookmarksAt(review, 5), 0U);
    EXPECT_EQ(review.bookmarks.size(), 3U);
    EXPECT_TRUE(isOutOfRange({0, "", ""}, 10));
    EXPECT_FALSE(isOutOfRange({10, "", ""}, 10));
    EXPECT_TRUE(isOutOfRange({11, "", ""}, 10));
    EXPECT_EQ(isoUtc(0), "1970-01-01T00:00:00Z");
    EXPECT_EQ(isoUtc(1796731041), "2026-12-08T11:57:21Z");
}

} // namespace
