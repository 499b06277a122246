// A table of several columns (the report's indications and bookmarks): every
// cell wraps inside its column, a heading wider than its column too, and a
// table longer than a page repeats its heading on each page it runs on to,
// with the page count found without drawing equal to the pages drawn.
#include "player/display_test_support.h"
#include "player/report/report_painter.h"
#include "player/window_test_support.h"

#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace pelix::report {
namespace {

TEST(ReportGrid, CellsAndHeadingsWrapAndTheHeadingRepeatsOnEveryPage) {
    player::test::ensureApplication();
    pelix::testing::TempFolder dir;
    const QString pdf = QString::fromStdString(dir.file("G.pdf"));
    std::vector<QStringList> rows;
    for (int i = 1; i <= 120; ++i)
        rows.push_back(
            {QString::number(i), QStringLiteral("cell%1").arg(i),
             i % 7 == 0 ? QStringLiteral("long%1 ").arg(i).repeated(25) : QStringLiteral("short%1").arg(i)});
    const QStringList header{QStringLiteral("#"), QStringLiteral("Quite a wide heading"),
                             QStringLiteral("Note")};
    QPdfWriter writer(pdf);
    writer.setResolution(200);
    writer.setPageSize(QPageSize(QPageSize::A4));
    ReportPainter counting(writer, nullptr, QStringLiteral("G.BIN"), QStringLiteral("2026-01-01 10:00"), 0);
    counting.nextPage();
    const int w = counting.area().width();
    counting.grid(header, rows, {w / 20, w / 7});
    const int pages = counting.pages();
    ASSERT_GT(pages, 2);
    {
        QPainter painter(&writer);
        ReportPainter p(writer, &painter, QStringLiteral("G.BIN"), QStringLiteral("2026-01-01 10:00"), pages);
        p.nextPage();
        p.grid(header, rows, {w / 20, w / 7});
        EXPECT_EQ(p.pages(), pages);
    }
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QProcess run;
    run.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    run.waitForFinished(60000);
    const QString text = QString::fromUtf8(run.readAllStandardOutput());
    const QStringList pageTexts = text.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_EQ(pageTexts.size(), pages);
    for (const QString& page : pageTexts) {
        // The heading's words are there whole on every page, though its column is narrow.
        for (const char* word : {"Quite", "wide", "heading", "Note"})
            EXPECT_TRUE(page.contains(QLatin1String(word))) << word;
    }
    for (int i = 1; i <= 120; ++i) {
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\bcell%1\\b").arg(i))), 1) << i;
        const int times = i % 7 == 0 ? 25 : 0;
        EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("\\blong%1\\b").arg(i))), times) << i;
    }
}

} // namespace
} // namespace pelix::report
