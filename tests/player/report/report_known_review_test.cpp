// The window hands the report what it already knows of the review: that review
// and identity are used as given, without hashing the recording again; when it
// hands nothing, the report hashes the recording (which the user can cancel)
// and finds the review file itself.
#include "core/review/review_json.h"
#include "core/review/review_store.h"
#include "player/display_test_support.h"
#include "player/report/inspection_report.h"
#include "player/window_test_support.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <fstream>

namespace pelix::report {
namespace {

QString pdfText(const QString& pdf) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) return {};
    QProcess p;
    p.start(pdftotext, {pdf, QStringLiteral("-")});
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(ReportKnownReview, UsedAsGivenElseFoundBesideTheRecordingAfterHashing) {
    player::test::ensureApplication();
    player::test::RecordingFiles files;
    const QString rec = files.write(QStringLiteral("KNOWN.BIN"), player::test::recordingOptions(300, 50, 2));
    const QString pdf = files.filePath(QStringLiteral("R.pdf"));
    qputenv("XDG_DATA_HOME", files.filePath(QStringLiteral("data")).toUtf8());

    review::ReviewFile given;
    given.recording = {"KNOWN.BIN", 1, std::string(64, 'b')};
    given.inspection.Operator = "Given Operator";
    given.bookmarks.push_back({5, "handed over by the window", ""});
    ReportRequest request;
    request.recording = rec;
    request.output = pdf.toStdString();
    request.frames = {5};
    request.review = given;
    request.identity = given.recording;
    int hashed = 0;
    const HashingProgress counting = [&hashed](std::uint64_t, std::uint64_t) {
        ++hashed;
        return true;
    };
    ReportOutcome outcome = writeInspectionReport(request, {}, counting);
    ASSERT_EQ(outcome.status, ReportStatus::Written) << outcome.error.toStdString();
    EXPECT_EQ(hashed, 0);
    QString text = pdfText(pdf);
    if (text.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    EXPECT_TRUE(text.contains(QString(64, QLatin1Char('b'))));
    EXPECT_TRUE(text.contains(QStringLiteral("Given Operator")));
    EXPECT_TRUE(text.contains(QStringLiteral("Bookmark: handed over by the window")));

    const auto id = review::identifyRecording(rec.toStdString());
    ASSERT_TRUE(id.identity);
    review::ReviewFile beside;
    beside.recording = *id.identity;
    beside.bookmarks.push_back({5, "found beside the recording", ""});
    std::ofstream(review::reviewPathBeside(rec.toStdString()), std::ios::binary)
        << review::reviewJson(beside);
    request.review.reset();
    request.identity.reset();
    outcome = writeInspectionReport(request, {}, counting);
    ASSERT_EQ(outcome.status, ReportStatus::Written) << outcome.error.toStdString();
    EXPECT_GT(hashed, 0);
    text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QString::fromStdString(id.identity->sha256)));
    EXPECT_TRUE(text.contains(QStringLiteral("Bookmark: found beside the recording")));
    EXPECT_FALSE(text.contains(QStringLiteral("handed over")));

    // Cancelled while hashing: no report, and the one written before is left as it was.
    QFile::remove(pdf);
    outcome = writeInspectionReport(request, {}, [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_EQ(outcome.status, ReportStatus::Cancelled);
    EXPECT_FALSE(QFile::exists(pdf));
    qunsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace pelix::report
