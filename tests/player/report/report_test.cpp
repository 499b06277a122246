// The inspection report: which frames it shows, its summary, and the PDF
// pelix report writes (page count from the document's own structure, text
// through poppler's pdftotext).
#include "core/overview/overview_series.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "core/report/report_frames.h"
#include "core/report/report_summary.h"
#include "player/display_test_support.h"
#include "player/report/report_action.h"
#include "player/report/report_painter.h"
#include "player/tool_test_support.h"
#include "player/window_test_support.h"

#include <QDate>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace pelix::report {
namespace {

struct FrameListCase {
    const char* name;
    const char* text;
    std::vector<int32_t> frames; // empty: refused
};

class FrameListTest : public ::testing::TestWithParam<FrameListCase> {};

TEST_P(FrameListTest, ParsesOrRefuses) {
    const FrameListCase c = GetParam();
    std::string error;
    const auto frames = parseFrameList(c.text, 100, error);
    if (c.frames.empty()) {
        EXPECT_FALSE(frames) << c.text;
        EXPECT_FALSE(error.empty());
    } else {
        ASSERT_TRUE(frames) << error;
        EXPECT_EQ(*frames, c.frames);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, FrameListTest,
    ::testing::Values(FrameListCase{"OneFrame", "12", {12}},
                      FrameListCase{"ListAndRange", "3,7,20-22", {3, 7, 20, 21, 22}},
                      FrameListCase{"AsTheDialogOffersIt", "3, 7, 20-22", {3, 7, 20, 21, 22}},
                      FrameListCase{"RepeatsDropped", "5,4-6,5", {5, 4, 6}},
                      FrameListCase{"LastFrame", "100", {100}}, FrameListCase{"Empty", "", {}},
                      FrameListCase{"FrameZero", "0", {}}, FrameListCase{"PastTheEnd", "99-101", {}},
                      FrameListCase{"Backwards", "9-3", {}}, FrameListCase{"TrailingComma", "3,", {}},
                      FrameListCase{"Word", "three", {}}, FrameListCase{"Negative", "-4", {}},
                      FrameListCase{"Huge", "99999999999999999999", {}}),
    [](const ::testing::TestParamInfo<FrameListCase>& info) { return std::string(info.param.name); });

TEST(ReportFrames, FlaggedFramesByDefaultElseTheFirstOrTheFrameOnScreen) {
    EXPECT_EQ(defaultReportFrames({}), std::vector<int32_t>{1});
    EXPECT_EQ(defaultReportFrames({4, 9}), (std::vector<int32_t>{4, 9}));
    EXPECT_EQ(offeredReportFrames({}, 37), std::vector<int32_t>{37});
    EXPECT_EQ(offeredReportFrames({4, 9}, 37), (std::vector<int32_t>{4, 9}));
    EXPECT_EQ(frameListText({3, 7, 20, 21, 22, 30, 31}), "3, 7, 20-22, 30, 31");
    EXPECT_EQ(frameListText({1, 3, 5, 7}, 2), "1, 3, \xE2\x80\xA6 (2 more)");
    EXPECT_EQ(frameListText({}), "none");
    std::string error;
    // What the dialog offers is what it accepts back.
    EXPECT_EQ(parseFrameList(frameListText({3, 7, 20, 21, 22, 30, 31}), 40, error),
              (std::vector<int32_t>{3, 7, 20, 21, 22, 30, 31}));
    EXPECT_EQ(frameTimeText(1, 50), "0.00 s");
    EXPECT_EQ(frameTimeText(251, 50), "5.00 s");
    EXPECT_EQ(frameTimeText(12, 10), "1.10 s");
}

TEST(ReportSummary, NamesTheRecordingAndItsSetup) {
    const auto opened = recording::OpenRecording::open(PELIX_SAMPLES_DIR "/RF_INCH_V7.BIN");
    ASSERT_TRUE(opened.recording);
    const SummaryRows rows = recordingSummary(*opened.recording, std::nullopt, {3, 4, 5, 9});
    std::map<std::string, std::string> byCaption(rows.begin(), rows.end());
    EXPECT_EQ(byCaption["File"], "RF_INCH_V7.BIN");
    EXPECT_EQ(byCaption["Version"], "7");
    EXPECT_EQ(byCaption["Units"], "inch");
    EXPECT_EQ(byCaption["Rectification"], "RF");
    EXPECT_EQ(byCaption["Frames"], "400");
    EXPECT_EQ(byCaption["Rate"], "10 frames/s");
    EXPECT_EQ(byCaption["Length"], "40.00 s");
    // Four flagged frames against the three the setup record counts: both are told.
    EXPECT_EQ(byCaption["Flags"], "4: frames 3-5, 9 (the recording's header counts 3)");
    EXPECT_EQ(byCaption["Gates"], "frame 1 cannot be read");
    for (const char* caption : {"Size", "Velocity", "Probe angle", "Evaluation mode"})
        EXPECT_FALSE(byCaption[caption].empty()) << caption;
}

// A gate measures at the peak when its mode word is 0 (the readings mark it "^") and at the
// flank otherwise ("/"). Its lengths read as the panel shows them: a start of 1005 um is
// 1.005 mm, "1.01" under "0.00" although its binary value lies just below, and 2.125 mm
// rounds up.
TEST(ReportSummary, TellsEachGatesMeasuringPointAsTheReadingsMarkIt) {
    const auto opened = recording::OpenRecording::open(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN");
    ASSERT_TRUE(opened.recording);
    recording::FrameHeader first{};
    first.GateAOn = 1;
    first.GateAMode = 0;
    first.GateAStart_um = 1005;
    first.GateAWidth_um = 2125;
    first.GateAThreshold = 40;
    first.GateBOn = 1;
    first.GateBMode = 1;
    const SummaryRows rows = recordingSummary(*opened.recording, first, {});
    std::map<std::string, std::string> byCaption(rows.begin(), rows.end());
    EXPECT_EQ(byCaption["Gate A (frame 1)"], "start 1.01 mm, width 2.13 mm, threshold 40 %, peak");
    EXPECT_TRUE(byCaption["Gate B (frame 1)"].find(", flank") != std::string::npos)
        << byCaption["Gate B (frame 1)"];
}

// The report names the curves the display draws: the whole EvalMode word decides, and a
// word that is not one of the instrument's codes 0..5 is given with its raw value.
TEST(ReportSummary, NamesTheEvaluationCurvesThePictureShows) {
    const struct {
        int32_t evalMode, tcgMode;
        const char* text;
    } cases[] = {
        {0, 2, "DAC"},
        {0, 0, "TCG"},
        {1, 0, "DGS"},
        {4, 0, "JIS DAC"},
        {5, 0, "CN DAC"},
        {2, 0, "none"},
        {0x101, 0, "TCG (code 257)"}, // low byte 1, yet no DGS curve is drawn
        {0x104, 2, "DAC (code 260)"},
        {6, 2, "DAC (code 6)"},
        {-255, 0, "none (code -255)"},
    };
    for (const auto& c : cases) {
        player::test::RecordingBuilder b;
        b.setup(recording::rh::EvalMode, c.evalMode);
        b.setup(recording::rh::TCGMode, c.tcgMode);
        b.addRecord();
        const auto opened = recording::OpenRecording::open(b.write("eval_mode.bin"));
        ASSERT_TRUE(opened.recording) << opened.message;
        const SummaryRows rows = recordingSummary(*opened.recording, std::nullopt, {});
        std::map<std::string, std::string> byCaption(rows.begin(), rows.end());
        EXPECT_EQ(byCaption["Evaluation mode"], c.text) << c.evalMode;
    }
}

class ReportToolTest : public player::ToolTest {
  protected:
    // The page count as the document's page tree states it.
    static int pageCount(const QString& pdf) {
        QFile f(pdf);
        if (!f.open(QIODevice::ReadOnly)) return -1;
        const QByteArray bytes = f.readAll();
        if (!bytes.startsWith("%PDF-")) return -1;
        const QRegularExpression pages(QStringLiteral("/Type\\s*/Pages\\b[^>]*?/Count\\s+(\\d+)"));
        const auto m = pages.match(QString::fromLatin1(bytes));
        const int pageObjects = static_cast<int>(
            QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b(?!s)"))));
        if (!m.hasMatch() || m.captured(1).toInt() != pageObjects) return -2;
        return pageObjects;
    }
    static QString text(const QString& pdf) {
        const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
        if (pdftotext.isEmpty()) return {};
        QProcess p;
        p.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        p.waitForFinished(60000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

struct ReportCase {
    const char* name;
    const char* sample;
    QStringList options;
    int framePages;              // after the summary, which takes as many pages as its lists need
    std::vector<int32_t> frames; // the frame pages, in order
};

class ReportPagesTest : public ReportToolTest, public ::testing::WithParamInterface<ReportCase> {};

TEST_P(ReportPagesTest, OnePageForTheSummaryAndOnePerFrame) {
    const ReportCase c = GetParam();
    QString err;
    QStringList args{"report", QStringLiteral(PELIX_SAMPLES_DIR "/") + c.sample, "-o", path("R.pdf")};
    args += c.options;
    ASSERT_EQ(run(args, &err), 0) << err.toStdString();
    const int total = pageCount(path("R.pdf"));
    ASSERT_GT(total, c.framePages);
    const int summaryPages = total - c.framePages;
    const QString t = text(path("R.pdf"));
    if (t.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed; the text was not checked";
    const QStringList pages = t.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pages.size(), total);
    EXPECT_TRUE(pages[0].contains("Inspection report"));
    EXPECT_TRUE(pages[0].contains(QString::fromLatin1(c.sample)));
    const QString summary = pages.mid(0, summaryPages).join(QLatin1Char('\n'));
    for (const char* caption : {"Version", "Units", "Velocity", "Rectification", "Probe angle", "Gate A",
                                "Evaluation mode", "Frames", "Rate", "Length", "Flags", "Overview", "SHA-256",
                                "Inspection", "Indications", "Bookmarks"})
        EXPECT_TRUE(summary.contains(QLatin1String(caption))) << caption;
    const QString date = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    for (int i = 0; i < total; ++i) {
        EXPECT_TRUE(pages[i].contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(total))) << i;
        EXPECT_TRUE(pages[i].contains(QString::fromLatin1(c.sample))) << i;
        EXPECT_TRUE(pages[i].contains(date)) << i;
        // The frame pages come after the summary, none among it.
        EXPECT_EQ(pages[i].contains(QRegularExpression(QStringLiteral("Frame \\d+ of \\d+"))),
                  i >= summaryPages)
            << i;
    }
    for (std::size_t k = 0; k < c.frames.size(); ++k) {
        const QString& page = pages[summaryPages + static_cast<int>(k)];
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("Frame %1 of \\d+").arg(c.frames[k]))))
            << page.toStdString();
        EXPECT_TRUE(page.contains(QStringLiteral("Reading")));
        EXPECT_TRUE(page.contains(QStringLiteral("Value")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recordings, ReportPagesTest,
    ::testing::Values(ReportCase{"WithFlags", "RF_INCH_V7.BIN", {}, 3, {}},
                      ReportCase{"WithoutFlags", "NEG_V6.BIN", {}, 1, {1}},
                      ReportCase{"ChosenFrames", "NEG_V6.BIN", {"--frames", "3,10-11"}, 3, {3, 10, 11}},
                      ReportCase{"FlagsAsked", "ENVELOPE_US.BIN", {"--flags"}, 2, {}}),
    [](const ::testing::TestParamInfo<ReportCase>& info) { return std::string(info.param.name); });

TEST_F(ReportToolTest, RefusesBadArgumentsAndNeverWritesOverTheRecording) {
    const QString sample = QStringLiteral(PELIX_SAMPLES_DIR "/NEG_V6.BIN");
    EXPECT_EQ(run({"report", sample}), 2);
    EXPECT_EQ(run({"report", sample, "-o", path("R.pdf"), "--frames", "0"}), 2);
    EXPECT_EQ(run({"report", sample, "-o", path("R.pdf"), "--frames", "251"}), 2);
    EXPECT_EQ(run({"report", sample, "-o", path("R.pdf"), "--frames", "3", "--flags"}), 2);
    EXPECT_FALSE(QFile::exists(path("R.pdf")));
    EXPECT_EQ(run({"report", path("MISSING.BIN"), "-o", path("R.pdf")}), 3);

    ASSERT_TRUE(QFile::copy(sample, path("COPY.BIN")));
    const QByteArray before = [&] {
        QFile f(path("COPY.BIN"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QString err;
    EXPECT_EQ(run({"report", path("COPY.BIN"), "-o", path("COPY.BIN")}, &err), 1);
    QFile f(path("COPY.BIN"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    EXPECT_EQ(run({"report", sample, "-o", path("NO/SUCH/FOLDER/R.pdf")}), 1);
}

// Sixty flagged five-digit frames and a file name longer than a line: page 1
// gives every one of them whole, wrapped inside the value column.
TEST_F(ReportToolTest, LongListsAndNamesWrapInsideTheirBoxes) {
    player::test::RecordingFiles files;
    const QString name =
        QStringLiteral("WELD_") + QString(150, QLatin1Char('X')) + QStringLiteral("_END.BIN");
    const QString rec = files.write(name, player::test::recordingOptions(24000, 50, 60));
    const auto opened = recording::OpenRecording::open(rec.toStdString());
    ASSERT_TRUE(opened.recording) << opened.message;
    QString err;
    ASSERT_EQ(run({"report", rec, "-o", path("R.pdf"), "--frames", "1"}, &err), 0) << err.toStdString();
    const QString t = text(path("R.pdf"));
    if (t.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed; the text was not checked";
    const QString first = t.split(QLatin1Char('\f')).first();
    const QString flagsOnward = first.mid(first.indexOf(QStringLiteral("Flags")));
    QStringList missing;
    // The flagged frames as the overview finds them, each a whole number in the row.
    const std::vector<int32_t> flags =
        overview::scanOverview(opened.recording->file(), recording::frameRecordLayout(*opened.recording))
            .flags();
    ASSERT_EQ(flags.size(), 60U);
    for (const int32_t f : flags) {
        if (!flagsOnward.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(f))))
            missing << QString::number(f);
    }
    EXPECT_TRUE(missing.isEmpty()) << missing.join(", ").toStdString() << "\n" << first.toStdString();
    // The name runs on to the next line, under itself: without the spaces it reads whole.
    QString joined = first;
    joined.remove(QRegularExpression(QStringLiteral("\\s")));
    EXPECT_TRUE(joined.contains(name)) << first.toStdString();
}

// A table longer than a page runs on to further pages under its header again;
// the pages counted without drawing are the pages drawn, so every footer's
// "Page k of N" is true.
TEST_F(ReportToolTest, ALongTableRunsOnToFurtherPagesAndTheCountHolds) {
    TextRows rows;
    for (int i = 1; i <= 150; ++i)
        rows.emplace_back(QStringLiteral("Row %1").arg(i), i % 10 == 0
                                                               ? QStringLiteral("v%1 ").arg(i).repeated(30)
                                                               : QStringLiteral("value %1").arg(i));
    QPdfWriter writer(path("T.pdf"));
    writer.setResolution(200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    ReportPainter counting(writer, nullptr, QStringLiteral("T.BIN"), QStringLiteral("2026-01-01 10:00"), 0);
    counting.nextPage();
    counting.table(rows, counting.area().width() / 4, QStringLiteral("Caption"), QStringLiteral("Value"));
    const int pages = counting.pages();
    ASSERT_GT(pages, 2);
    {
        QPainter painter(&writer);
        ReportPainter p(writer, &painter, QStringLiteral("T.BIN"), QStringLiteral("2026-01-01 10:00"), pages);
        p.nextPage();
        p.table(rows, p.area().width() / 4, QStringLiteral("Caption"), QStringLiteral("Value"));
        EXPECT_EQ(p.pages(), pages);
    }
    EXPECT_EQ(pageCount(path("T.pdf")), pages);
    const QString t = text(path("T.pdf"));
    if (t.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed; the text was not checked";
    const QStringList pageTexts = t.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pageTexts.size(), pages);
    for (int k = 0; k < pages; ++k) {
        EXPECT_TRUE(pageTexts[k].contains(QStringLiteral("Page %1 of %2").arg(k + 1).arg(pages))) << k;
        EXPECT_TRUE(pageTexts[k].contains(QStringLiteral("Caption"))) << k;
    }
    for (int i = 1; i <= 150; ++i)
        EXPECT_EQ(t.count(QRegularExpression(QStringLiteral("\\bRow %1\\b").arg(i))), 1) << i;
    EXPECT_EQ(t.count(QRegularExpression(QStringLiteral("\\bv150\\b"))), 30);
}

} // namespace
} // namespace pelix::report
