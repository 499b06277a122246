// The overview's "Report…" button asks the program for the report with what the
// window knows: the recording, its flagged frames, the frame on screen and the count.
#include "platform/message_service.h"
#include "platform/track_bar.h"
#include "player/overview/overview_window.h"
#include "player/tool_test_support.h"
#include "player/ui/frm_player.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPushButton>

#include <gtest/gtest.h>

#include <optional>

namespace pelix::overview {
namespace {

struct ReportRequest {
    QString recording;
    std::vector<int32_t> flagged;
    int32_t current = 0;
    int32_t count = 0;
};

TEST(OverviewReportRequest, CarriesTheRecordingItsFlagsAndTheShownFrame) {
    player::test::ensureApplication();
    platform::MessageLog messages;
    frmPlayer window;
    ASSERT_TRUE(window.ascanError().isEmpty());
    const QString path = QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN");
    ASSERT_EQ(window.openRecording(path), player::OpenResult::Opened);
    OverviewWindow& overview = window.overview();
    std::optional<ReportRequest> asked;
    QObject::connect(&overview, &OverviewWindow::reportRequested,
                     [&asked](const QString& recording, const std::vector<int32_t>& flagged, int32_t current,
                              int32_t count) {
                         asked = ReportRequest{recording, flagged, current, count};
                     });
    window.toggleOverview();
    QElapsedTimer t;
    t.start();
    while (!overview.strip().series() && t.elapsed() < 20000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    const OverviewSeries* series = overview.strip().series();
    ASSERT_NE(series, nullptr);
    ASSERT_FALSE(series->flags().empty()) << "the sample has flagged frames";
    window.controls().Slider->setValue(77);

    auto* report = overview.findChild<QPushButton*>(QStringLiteral("cmdReport"));
    ASSERT_NE(report, nullptr);
    ASSERT_TRUE(report->isEnabled());
    report->click();
    ASSERT_TRUE(asked.has_value());
    EXPECT_EQ(asked->recording, path);
    EXPECT_EQ(asked->flagged, series->flags());
    EXPECT_EQ(asked->current, 77);
    EXPECT_EQ(asked->count, window.session().FrameCount());
}

} // namespace
} // namespace pelix::overview
