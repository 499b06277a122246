// pelix report as evidence, read back as a reviewer's tools read it (pdftotext):
// page 1 names the inspection, the recording and its SHA-256, lists the
// indications as pelix indications finds them and every bookmark with its
// note; frames are chosen by bookmark or by indication; a review file that
// cannot be applied is named and the report still written; the recording and
// the review file are never touched.
#include "core/review/review_json.h"
#include "core/review/review_store.h"
#include "support/file_state.h"
#include "support/recording_files.h"
#include "support/temp_folder.h"
#include "tools/tool_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

using pelix::testing::FileState;
using pelix::testing::fileStateOf;
using pelix::testing::TempFolder;
using pelix::testing::ToolRun;

void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Every kind of space taken out, the no-break space the report keeps a reading's name and value with too.
std::string withoutSpaces(std::string text) {
    for (std::size_t at; (at = text.find("\xC2\xA0")) != std::string::npos;)
        text.erase(at, 2);
    text.erase(std::remove_if(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); }),
               text.end());
    return text;
}

class PelixReportEvidenceTest : public ::testing::Test {
  protected:
    // A recording of `frames` frames, `flagged` of them flagged, with a review file beside it
    // naming it when `marks` or details are given.
    void makeRecording(int32_t frames, int32_t flagged) {
        pelix::synth::SynthOptions options;
        options.frames = frames;
        options.flaggedFrames = flagged;
        options.seed = 7;
        writeText(recording, pelix::testing::synthesize(options));
        before = fileStateOf(recording);
    }
    void writeReview(const pelix::review::InspectionDetails& details,
                     const std::vector<pelix::review::Bookmark>& marks) {
        const auto id = pelix::review::identifyRecording(recording);
        ASSERT_TRUE(id.identity) << id.error;
        pelix::review::ReviewFile review;
        review.recording = *id.identity;
        review.inspection = details;
        review.bookmarks = marks;
        writeText(beside, pelix::review::reviewJson(review));
        reviewBefore = fileStateOf(beside);
    }
    void TearDown() override {
        EXPECT_TRUE(fileStateOf(recording) == before) << "the recording was written";
        if (reviewBefore.inode != 0) {
            EXPECT_TRUE(fileStateOf(beside) == reviewBefore) << "the review was written";
        }
    }

    ToolRun run(const std::string& words) const {
        ::setenv("XDG_DATA_HOME", folder.file("data").c_str(), 1);
        ToolRun r = pelix::testing::pelix(words);
        ::unsetenv("XDG_DATA_HOME");
        return r;
    }
    // The report's text page by page, as pdftotext lays it out; empty without pdftotext.
    std::vector<std::string> pages(const std::string& pdf) const {
        const std::string command = "pdftotext -layout '" + pdf + "' - 2>/dev/null";
        std::string text;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[4096];
            std::size_t n = 0;
            while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
                text.append(buffer, n);
            pclose(pipe);
        }
        std::vector<std::string> out;
        std::size_t at = 0;
        for (std::size_t ff; (ff = text.find('\f', at)) != std::string::npos; at = ff + 1)
            out.push_back(text.substr(at, ff - at));
        return out;
    }
    // The frames given a page of their own, in order.
    static std::vector<int32_t> framePages(const std::vector<std::string>& pageTexts) {
        std::vector<int32_t> frames;
        const std::regex heading(R"(Frame (\d+) of \d+)");
        for (const std::string& page : pageTexts) {
            std::smatch m;
            if (std::regex_search(page, m, heading)) frames.push_back(std::stoi(m[1]));
        }
        return frames;
    }

    TempFolder folder;
    std::string recording = folder.file("WELD 7.BIN");
    std::string quoted = "'" + recording + "'";
    std::string beside = recording + ".review.json";
    std::string pdf = folder.file("R.pdf");
    FileState before;
    FileState reviewBefore;
};

// 2,000 flags and 500 bookmarks (some notes long enough to wrap, one of 100,000 characters)
// with every inspection detail filled: every value, every note and the digest can be read.
TEST_F(PelixReportEvidenceTest, EveryDetailEveryNoteAndTheDigestCanBeRead) {
    makeRecording(6000, 2000);
    pelix::review::InspectionDetails details;
    std::vector<std::string> typed;
    for (const pelix::review::InspectionField& field : pelix::review::inspectionFields()) {
        typed.push_back("v" + std::string(field.key) + "x");
        details.*field.value = typed.back();
    }
    std::vector<pelix::review::Bookmark> marks;
    for (int k = 0; k < 500; ++k) {
        std::string note = "N" + std::to_string(1000 + k);
        if (k % 25 == 0) {
            note += " wraps inside its box and carries on";
            for (int w = 0; w < 30; ++w)
                note += " word" + std::to_string(w);
        }
        marks.push_back({1 + k * 12, note, "2026-12-08T12:57:21Z"});
    }
    marks.push_back({7000, "past the end", ""});
    marks.push_back({13, std::string(100000, 'y'), ""});
    writeReview(details, marks);

    const ToolRun r = run("report " + quoted + " -o " + pdf + " --frames 1");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::vector<std::string> text = pages(pdf);
    if (text.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    std::string all;
    for (const std::string& page : text)
        all += page;
    const std::string joined = withoutSpaces(all);
    for (std::size_t i = 0; i < typed.size(); ++i) {
        EXPECT_NE(joined.find(typed[i]), std::string::npos) << typed[i];
        EXPECT_NE(joined.find(withoutSpaces(std::string(pelix::review::inspectionFields()[i].caption))),
                  std::string::npos)
            << pelix::review::inspectionFields()[i].caption;
    }
    for (int k = 0; k < 500; ++k) {
        const std::string token = "N" + std::to_string(1000 + k);
        EXPECT_NE(all.find(token), std::string::npos) << token;
    }
    // A wrapped note reads whole once the line breaks are taken out.
    EXPECT_NE(joined.find(withoutSpaces(marks[25].text)), std::string::npos);
    // The mark past the recording's end is listed, and said to be so.
    EXPECT_NE(joined.find("7000outofrangepasttheend"), std::string::npos);
    // The long note is shown in part, ending in an ellipsis.
    EXPECT_NE(joined.find(std::string(1000, 'y')), std::string::npos);
    EXPECT_EQ(joined.find(std::string(3000, 'y')), std::string::npos);

    const auto id = pelix::review::identifyRecording(recording);
    ASSERT_TRUE(id.identity);
    EXPECT_NE(all.find("SHA-256"), std::string::npos);
    EXPECT_NE(joined.find(id.identity->sha256), std::string::npos);
    // 2,000 flags: the summary lists sixty items and counts the rest.
    EXPECT_TRUE(std::regex_search(joined, std::regex(R"(2000:frames[0-9,]+\xE2\x80\xA6\(\d+more\))")));
    // Frame 1 carries a bookmark: its page shows the note.
    ASSERT_EQ(framePages(text), std::vector<int32_t>{1});
    EXPECT_NE(text.back().find("Bookmark: N1000"), std::string::npos) << text.back();
}

TEST_F(PelixReportEvidenceTest, FramesChosenByBookmarkOrByIndication) {
    makeRecording(600, 4);
    writeReview({}, {{40, "b", ""}, {9, "a", ""}, {40, "c", ""}, {601, "beyond", ""}, {0, "before", ""}});
    ToolRun r = run("report " + quoted + " -o " + pdf + " --bookmarks");
    ASSERT_EQ(r.status, 0) << r.out;
    std::vector<std::string> text = pages(pdf);
    if (text.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_EQ(framePages(text), (std::vector<int32_t>{9, 40}));
    EXPECT_NE(text.back().find("Bookmark: b"), std::string::npos);
    EXPECT_NE(text.back().find("Bookmark: c"), std::string::npos);

    // The peaks pelix indications finds with the same gate, level and drop.
    for (const std::string& choice : {std::string(), std::string(" --gate b --level 20 --drop 3")}) {
        const ToolRun list = run("indications " + quoted + " --json" + choice);
        ASSERT_EQ(list.status, 0) << list.out;
        std::vector<int32_t> peaks;
        const std::regex peak(R"("PeakFrame":(\d+))");
        for (auto it = std::sregex_iterator(list.out.begin(), list.out.end(), peak);
             it != std::sregex_iterator(); ++it)
            peaks.push_back(std::stoi((*it)[1]));
        r = run("report " + quoted + " -o " + pdf + " --indications" + choice);
        ASSERT_EQ(r.status, 0) << r.out;
        text = pages(pdf);
        EXPECT_EQ(framePages(text), peaks) << choice;
        if (peaks.empty()) {
            EXPECT_NE(r.out.find("no frame pages"), std::string::npos) << r.out;
        }
    }
}

// Each indication's length and its readings at the peak read as pelix indications gives them.
TEST_F(PelixReportEvidenceTest, TheIndicationTableReadsAsTheIndicationList) {
    makeRecording(600, 4);
    for (const std::string& choice : {std::string(), std::string(" --gate b --level 20")}) {
        const ToolRun list = run("indications " + quoted + choice);
        ASSERT_EQ(list.status, 0) << list.out;
        const ToolRun r = run("report " + quoted + " -o " + pdf + " --frames 1" + choice);
        ASSERT_EQ(r.status, 0) << r.out;
        const std::vector<std::string> text = pages(pdf);
        if (text.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        std::string first;
        for (std::size_t i = 0; i + 1 < text.size(); ++i)
            first += text[i];
        const std::string joined = withoutSpaces(first);
        // "    1      101      140      120   87%        110        131       22      0.44  SA 20.80mm ..."
        const std::regex row(
            R"(^\s*(\d+)\s+(\d+)\s+(\d+)\s+(\d+)\s+(\d+)%\s+(\d+)\s+(\d+)\s+(\d+)\s+([\d.]+)(.*)$)");
        int rows = 0;
        std::istringstream lines(list.out);
        for (std::string line; std::getline(lines, line);) {
            std::smatch m;
            if (!std::regex_match(line, m, row)) continue;
            ++rows;
            const std::string expected = m[1].str() + m[2].str() + "\xE2\x80\x93" + m[3].str() + m[4].str() +
                                         "(" + m[5].str() + "%)" + m[6].str() + "\xE2\x80\x93" + m[7].str() +
                                         m[8].str() + "(" + m[9].str() + "s)" + withoutSpaces(m[10].str());
            EXPECT_NE(joined.find(expected), std::string::npos) << expected << "\n" << first;
        }
        EXPECT_GT(rows, 0) << list.out;
    }
}

TEST_F(PelixReportEvidenceTest, BadOptionsAreUsageErrorsAndWriteNothing) {
    makeRecording(100, 2);
    for (const char* options :
         {"--bookmarks --flags", "--indications --frames 3", "--bookmarks --indications", "--gate c",
          "--drop x", "--drop 201", "--drop -1", "--level 101", "--level x", "--indications --json"}) {
        const ToolRun r = run("report " + quoted + " -o " + pdf + " " + options);
        EXPECT_EQ(r.status, 2) << options << "\n" << r.out;
        EXPECT_FALSE(std::ifstream(pdf).good()) << options;
    }
}

// No review file: the sections say so. One that does not parse or names another recording:
// page 1 says why in one line, standard error too, and the report is written without it.
TEST_F(PelixReportEvidenceTest, AReviewFileThatCannotBeAppliedIsNamedAndTheReportWritten) {
    makeRecording(100, 2);
    ToolRun r = run("report " + quoted + " -o " + pdf);
    ASSERT_EQ(r.status, 0) << r.out;
    std::vector<std::string> text = pages(pdf);
    if (text.empty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_NE(text[0].find("No review file for this recording."), std::string::npos) << text[0];

    const struct {
        const char* name;
        std::string content;
        const char* reason;
    } cases[] = {
        {"NotJson", "{ this is not json", "not applied"},
        {"OtherRecording", pelix::review::reviewJson([] {
             pelix::review::ReviewFile other;
             other.recording = {"WELD 7.BIN", 0,
                                std::string(64, 'e')}; // size not recorded: the digest decides
             other.bookmarks.push_back({5, "not this recording's", ""});
             return other;
         }()),
         "another recording"},
    };
    for (const auto& c : cases) {
        writeText(beside, c.content);
        reviewBefore = fileStateOf(beside);
        r = run("report " + quoted + " -o " + pdf);
        ASSERT_EQ(r.status, 0) << c.name << r.out;
        EXPECT_NE(r.out.find("is not applied"), std::string::npos) << c.name << r.out;
        text = pages(pdf);
        ASSERT_FALSE(text.empty());
        EXPECT_NE(text[0].find("The review file"), std::string::npos) << c.name << text[0];
        EXPECT_NE(withoutSpaces(text[0]).find(withoutSpaces(c.reason)), std::string::npos)
            << c.name << text[0];
        EXPECT_NE(text[0].find("not applied (see above)"), std::string::npos) << c.name;
        EXPECT_EQ(text[0].find("not this recording's"), std::string::npos) << c.name;
        EXPECT_TRUE(fileStateOf(beside) == reviewBefore) << c.name;
    }
}

} // namespace
