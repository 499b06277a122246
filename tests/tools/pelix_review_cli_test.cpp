// pelix review, bookmarks and inspection as a reviewer runs them: changes land
// in the review file beside the recording and read back, marks travel through
// label files, and a review file that cannot be vouched for stops every
// command with exit 5 and stays as it was. The recording is never touched.
#include "core/review/review_store.h"
#include "support/file_state.h"
#include "support/recording_files.h"
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

using pelix::testing::FileState;
using pelix::testing::fileStateOf;
using pelix::testing::pelix;
using pelix::testing::TempFolder;
using pelix::testing::ToolRun;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A 100-frame recording at 50 frames a second; the data folder is the test's own.
class PelixReviewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        pelix::synth::SynthOptions options;
        options.frames = 100;
        writeText(recording, pelix::testing::synthesize(options));
        before = fileStateOf(recording);
    }
    void TearDown() override { EXPECT_TRUE(fileStateOf(recording) == before) << "the recording was written"; }

    // Runs `pelix WORDS` with this test's data folder.
    ToolRun run(const std::string& words) const {
        ::setenv("XDG_DATA_HOME", folder.file("data").c_str(), 1);
        ToolRun r = pelix(words);
        ::unsetenv("XDG_DATA_HOME");
        return r;
    }

    TempFolder folder;
    std::string recording = folder.file("Scan 1.Bin");
    std::string quoted = "'" + recording + "'";
    std::string beside = recording + ".review.json";
    FileState before;
};

TEST_F(PelixReviewTest, BookmarksAddedListedAndDeletedThroughTheReviewFile) {
    EXPECT_EQ(run("review " + quoted).out,
              "No review file for " + recording + " (a new one goes to " + beside + ")\n");
    EXPECT_EQ(run("review " + quoted + " --json").out, "null\n");
    EXPECT_EQ(run("bookmarks " + quoted).out, "");

    ASSERT_EQ(run("bookmarks " + quoted + " --add 51 'lack of fusion'").status, 0);
    ASSERT_EQ(run("bookmarks " + quoted + " --add 2 -- '-6 dB edge'").status, 0);
    ASSERT_EQ(run("bookmarks " + quoted + " --add 51 second").status, 0);
    const ToolRun tsv = run("bookmarks " + quoted + " --tsv");
    ASSERT_EQ(tsv.status, 0) << tsv.out;
    // Seconds, created time, then the note: the created time is now, so only its shape is checked.
    EXPECT_TRUE(testing::internal::RE::PartialMatch(
        tsv.out, testing::internal::RE("^Frame\tSeconds\tCreated\tText\tOutOfRange\n"
                                       "2\t0\\.020\t20[0-9-]+T[0-9:]+Z\t-6 dB edge\t0\n"
                                       "51\t1\\.000\t20[0-9-]+T[0-9:]+Z\tlack of fusion\t0\n"
                                       "51\t1\\.000\t20[0-9-]+T[0-9:]+Z\tsecond\t0\n$")))
        << tsv.out;

    const ToolRun deleted = run("bookmarks " + quoted + " --delete 51 --json");
    ASSERT_EQ(deleted.status, 0) << deleted.out;
    EXPECT_NE(deleted.out.find(
                  "{\"FrameCount\":100,\"Bookmarks\":[{\"Frame\":2,\"Seconds\":0.02,\"Text\":\"-6 dB edge\""),
              std::string::npos)
        << deleted.out;
    EXPECT_NE(deleted.out.find("\"OutOfRange\":false}]}"), std::string::npos) << deleted.out;

    const auto read = pelix::review::readReviewFile(beside);
    ASSERT_EQ(read.problem, pelix::review::ReviewProblem::None) << read.reason;
    EXPECT_EQ(read.review->recording.name, "Scan 1.Bin");
    EXPECT_EQ(read.review->recording.size, before.bytes.size());
    ASSERT_EQ(read.review->bookmarks.size(), 1U);
    EXPECT_EQ(run("review " + quoted + " --json").out, pelix::review::reviewJson(*read.review));
    const ToolRun shown = run("review " + quoted);
    EXPECT_NE(shown.out.find("Bookmarks: 1\n  frame 2: -6 dB edge\n"), std::string::npos) << shown.out;
}

TEST_F(PelixReviewTest, LabelsExportedImportToTheSameMarks) {
    ASSERT_EQ(run("bookmarks " + quoted + " --add 1 start").status, 0);
    ASSERT_EQ(run("bookmarks " + quoted + " --add 100 'last frame'").status, 0);
    const std::string labels = folder.file("labels.txt");
    ASSERT_EQ(run("bookmarks " + quoted + " --export " + labels).status, 0);
    EXPECT_EQ(readText(labels), "0.000000\t0.000000\tstart\n1.980000\t1.980000\tlast frame\n");

    // Another copy of the recording takes them in, with a range and lines that are no labels.
    const std::string copy = folder.file("copy.BIN");
    writeText(copy, before.bytes);
    writeText(labels, readText(labels) + "oops\n0.5\t0.7\trange\n9\t9\tbeyond the end\n");
    const ToolRun imported = run("bookmarks " + copy + " --import " + labels);
    EXPECT_EQ(imported.status, 0) << imported.out;
    EXPECT_NE(imported.out.find(labels + ": line 3: not START<TAB>END<TAB>TEXT; not imported"),
              std::string::npos)
        << imported.out;
    EXPECT_NE(imported.out.find("4 bookmark(s) imported from " + labels + ", 1 beyond the last frame"),
              std::string::npos)
        << imported.out;
    const ToolRun tsv = run("bookmarks " + copy + " --tsv");
    std::string frames;
    for (std::size_t at = tsv.out.find('\n'); at + 1 < tsv.out.size(); at = tsv.out.find('\n', at + 1))
        frames += tsv.out.substr(at + 1, tsv.out.find('\t', at) - at - 1) + " ";
    EXPECT_EQ(frames, "1 26 100 451 ");
    EXPECT_NE(tsv.out.find("\trange (to 0.7 s)\t0\n"), std::string::npos) << tsv.out;
    EXPECT_NE(tsv.out.find("\tbeyond the end\t1\n"), std::string::npos) << tsv.out;
    const ToolRun shown = run("review " + copy);
    EXPECT_NE(shown.out.find("Bookmarks: 4 (1 beyond the recording's 100 frames)"), std::string::npos)
        << shown.out;
    EXPECT_NE(shown.out.find("frame 451 (out of range): beyond the end"), std::string::npos) << shown.out;
}

TEST_F(PelixReviewTest, InspectionDetailsSetAndShown) {
    const ToolRun set =
        run("inspection " + quoted + " --set operator='J. Doe' --set PROBE=MWB45 Date=2026-12-08 --json");
    ASSERT_EQ(set.status, 0) << set.out;
    EXPECT_EQ(set.out,
              "{\"PartId\":\"\",\"Location\":\"\",\"Procedure\":\"\",\"ProcedureRevision\":\"\","
              "\"AcceptanceStandard\":\"\",\"Operator\":\"J. Doe\",\"CertificationLevel\":\"\","
              "\"Instrument\":\"\",\"InstrumentSerial\":\"\",\"Probe\":\"MWB45\",\"ProbeSerial\":\"\","
              "\"CalibrationBlock\":\"\",\"Couplant\":\"\",\"ReferenceGain\":\"\",\"Date\":\"2026-12-08\","
              "\"Notes\":\"\"}\n");
    ASSERT_EQ(run("inspection " + quoted + " --set Probe= --set notes=\"$(printf 'two\\nlines')\"").status,
              0);
    const ToolRun shown = run("inspection " + quoted);
    EXPECT_NE(shown.out.find("Operator: J. Doe\n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Probe: \n"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("Notes: two lines\n"), std::string::npos) << shown.out;
    const auto read = pelix::review::readReviewFile(beside);
    ASSERT_TRUE(read.review);
    EXPECT_EQ(read.review->inspection.Notes, "two\nlines");
}

TEST_F(PelixReviewTest, RefusedCommandLinesChangeNothing) {
    ASSERT_EQ(run("bookmarks " + quoted + " --add 3 keep").status, 0);
    const FileState review = fileStateOf(beside);
    const struct {
        std::string words;
        int status;
        const char* says;
    } cases[] = {
        {"bookmarks " + quoted + " --add 0 x", 2, "--add 0: the recording has frames 1..100"},
        {"bookmarks " + quoted + " --add 101 x", 2, "--add 101: the recording has frames 1..100"},
        {"bookmarks " + quoted + " --add x", 2, "--add must be a frame number"},
        {"bookmarks " + quoted + " --delete 4", 2, "--delete 4: there is no bookmark at that frame"},
        {"bookmarks " + quoted + " --delete 3 --add 200 x", 2, "--add 200"},
        {"bookmarks " + quoted + " --json --tsv", 2, "--json and --tsv exclude each other"},
        {"bookmarks " + quoted + " extra", 2, "expects one FILE"},
        {"bookmarks " + quoted + " --import " + folder.file("none.txt"), 2, "none.txt: cannot be read"},
        {"bookmarks " + quoted + " --export " + quoted, 1, "is the recording being read; nothing written"},
        {"bookmarks " + quoted + " --export '" + beside + "'", 1,
         "is the recording's review file; nothing written"},
        {"inspection " + quoted + " --set Colour=red", 2, "no inspection detail is called Colour"},
        {"inspection " + quoted + " --set Probe", 2, "--set Probe: expects KEY=VALUE"},
        {"inspection " + quoted + " extra", 2, "expects one FILE"},
        {"review", 2, "expects one FILE"},
        {"review " + folder.file("missing.BIN"), 3, "missing.BIN"},
        {"bookmarks '" + beside + "'", 3, "File format is not correct"},
    };
    for (const auto& c : cases) {
        const ToolRun r = run(c.words);
        EXPECT_EQ(r.status, c.status) << c.words << "\n" << r.out;
        EXPECT_NE(r.out.find(c.says), std::string::npos) << c.words << "\n" << r.out;
        EXPECT_TRUE(fileStateOf(beside) == review) << c.words;
    }
}

TEST_F(PelixReviewTest, AReviewFileThatCannotBeVouchedForIsExit5AndKept) {
    ASSERT_EQ(run("bookmarks " + quoted + " --add 3 x").status, 0);
    std::string ofAnother = readText(beside);
    const auto sha = ofAnother.find("\"Sha256\": \"") + 11;
    ofAnother.replace(sha, 64, std::string(64, '0'));
    const struct {
        const char* name;
        std::string text;
        const char* says;
    } files[] = {
        {"not JSON", "{\"Format\": \"pelix-review\", \"Version\": 1,", "not JSON: parse error"},
        {"another version", R"({"Format":"pelix-review","Version":7})", "review file version 7"},
        {"a missing hash", R"({"Format":"pelix-review","Version":1,"Recording":{}})",
         "Recording.Sha256: missing"},
        {"another recording", ofAnother, "it names another recording"},
    };
    for (const auto& f : files) {
        writeText(beside, f.text);
        const FileState kept = fileStateOf(beside);
        for (const std::string& words :
             {"review " + quoted, "bookmarks " + quoted + " --add 5 y",
              "inspection " + quoted + " --set Probe=z", "bookmarks " + quoted + " --json"}) {
            const ToolRun r = run(words);
            EXPECT_EQ(r.status, 5) << f.name << ": " << words << "\n" << r.out;
            EXPECT_NE(r.out.find(beside + ": "), std::string::npos) << r.out;
            EXPECT_NE(r.out.find(f.says), std::string::npos) << f.name << "\n" << r.out;
            EXPECT_NE(r.out.find("the review file is not applied and is left as it is"), std::string::npos)
                << r.out;
        }
        EXPECT_TRUE(fileStateOf(beside) == kept) << f.name;
    }
}

} // namespace
