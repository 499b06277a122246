// Bookmarks to and from label files: an exported file imports to the same
// frames and notes at any rate, and each line that is not a label is named by
// its number while the others still come in.
#include "core/review/bookmark_labels.h"

#include <gtest/gtest.h>

namespace {

using namespace pelix::review;

TEST(BookmarkLabels, ExportedMarksImportToTheSameFramesAndNotes) {
    const std::vector<Bookmark> marks = {{1, "start", "t"}, {2, "next", "t"},     {3, "third", "t"},
                                         {7, "", "t"},      {1000, "later", "t"}, {123457, "far", "t"},
                                         {99, "ü ✓", "t"}};
    for (const int32_t rate : {1, 3, 7, 25, 30, 50, 60, 100, 1000}) {
        const std::string labels = exportLabels(marks, rate);
        const LabelImport back = importLabels(labels, rate, "t");
        EXPECT_TRUE(back.refusedLines.empty()) << rate;
        EXPECT_EQ(back.marks, marks) << "at " << rate << " frames a second";
    }
}

TEST(BookmarkLabels, ExportWritesPointLabelsOnOneLineEach) {
    std::size_t skipped = 99;
    const std::vector<Bookmark> marks = {{0, "before the first frame", ""}, {51, "a\tb\nc\r", ""}};
    EXPECT_EQ(exportLabels(marks, 50, &skipped), "1.000000\t1.000000\ta b c \n");
    EXPECT_EQ(skipped, 1U);
}

TEST(BookmarkLabels, ARangeIsOneMarkAtItsStartWithItsEndInTheNote) {
    const LabelImport in = importLabels("1.5\t3.25\tcrack\n2\t2.5\t\n0.019\t0.019\tpoint\n", 50, "now");
    ASSERT_TRUE(in.refusedLines.empty());
    ASSERT_EQ(in.marks.size(), 3U);
    EXPECT_EQ(in.marks[0], (Bookmark{76, "crack (to 3.25 s)", "now"}));
    EXPECT_EQ(in.marks[1], (Bookmark{101, "(to 2.5 s)", "now"}));
    // 0.019 s is within frame 1 (0 .. 0.02 s) at 50 frames a second.
    EXPECT_EQ(in.marks[2], (Bookmark{1, "point", "now"}));
}

TEST(BookmarkLabels, BadLinesAreNamedAndTheRestImported) {
    const std::string text = "\xEF\xBB\xBF"
                             "0\t0\tfirst\r\n"         // 1
                             "no tabs at all\n"        // 2
                             "x\t1\tstart is a word\n" // 3
                             "1\t\tno end\n"           // 4
                             "-1\t0\tnegative\n"       // 5
                             "5\t4\tbackwards\n"       // 6
                             "\n"                      // 7: empty, no mark, no complaint
                             "\\\t100\t2000\n"         // 8: a frequency line, no mark
                             "1e300\t1e300\tfar\n"     // 9
                             "nan\tnan\tnan\n"         // 10
                             "2\t2\tlast";             // 11, without a line end
    const LabelImport in = importLabels(text, 10, "");
    EXPECT_EQ(in.refusedLines, (std::vector<std::string>{
                                   "line 2: not START<TAB>END<TAB>TEXT",
                                   "line 3: the start is not a number of seconds",
                                   "line 4: the end is not a number of seconds",
                                   "line 5: the start lies outside any recording",
                                   "line 6: the end lies before the start",
                                   "line 9: the start lies outside any recording",
                                   "line 10: the start is not a number of seconds",
                               }));
    ASSERT_EQ(in.marks.size(), 2U);
    EXPECT_EQ(in.marks[0], (Bookmark{1, "first", ""}));
    EXPECT_EQ(in.marks[1], (Bookmark{21, "last", ""}));
}

} // namespace
