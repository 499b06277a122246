// Nothing the player does with a recording writes to it: after playing,
// jumping, dragging a gate, searching, exporting and reporting, the file has
// the same bytes and the same modification time as before.
#include "window_test_support.h"

#include "platform/track_bar.h"
#include "player/display/frame_display.h"
#include "player/export/range_export.h"
#include "player/report/inspection_report.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace pelix::player::test {
namespace {

std::string bytesOf(const QString& path) {
    std::ifstream in(path.toStdString(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RecordingUntouchedTest : public WindowTest {};

TEST_F(RecordingUntouchedTest, PlayJumpDragSearchExportAndReportLeaveBytesAndTimeAsTheyWere) {
    const QString recording =
        files.writeBytes("PLAIN_SCAN.BIN", bytesOf(QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN")));
    namespace fs = std::filesystem;
    const fs::path file = recording.toStdString();
    // A time well in the past, so that any write would show.
    const auto stamp = fs::last_write_time(file) - std::chrono::hours(24 * 365);
    fs::last_write_time(file, stamp);
    const std::string before = bytesOf(recording);
    ASSERT_GT(before.size(), 1000000u);

    open(recording);
    // Play a few steps, pause.
    playback().cmdPlayStop_Click();
    for (int step = 0; step < 5; ++step)
        playback().tmrPlay_Timer();
    playback().cmdPlayStop_Click();
    // Jump the way the slider does.
    control<platform::TrackBar>("Slider")->setValue(120);
    ASSERT_EQ(session().CurrentFrame, 120);
    // Leave gate A where a drag would, and let the window re-measure.
    AscanPort& port = window->display().port();
    port.set("fGateAStart", 20.0F);
    port.set("newGateAStart", 20.0F);
    port.set("iGateAThresh", QVariant::fromValue<qint16>(25));
    port.set("newGateAThresh", QVariant::fromValue<qint32>(25));
    QMetaObject::invokeMethod(window->controls().Ascan, "MouseUp", Qt::DirectConnection);
    // Search the whole recording.
    control<QCheckBox>("CheckSearch")->click();
    port.set("SearchLowwidthRange", 100.0);
    port.set("SearchUpwidthRange", 300.0);
    port.set("SearchLowhightlimit", 50.0);
    port.set("SearchUphightlimit", 100.0);
    control<QPushButton>("cmdSearch")->click();
    ASSERT_EQ(playback().state(), playback::PlaybackState::Stopped);
    // Export a few frames and report one.
    RangeExportRequest video;
    video.from = 10;
    video.to = 14;
    video.output = files.filePath("range.avi").toStdString();
    EXPECT_EQ(exportRange(window->controls(), session(), playback(), window->aviExport(), video),
              RangeExportResult::Written);
    report::ReportRequest pdf;
    pdf.recording = recording;
    pdf.output = files.filePath("report.pdf").toStdString();
    pdf.frames = {120};
    EXPECT_EQ(report::writeInspectionReport(pdf).status, report::ReportStatus::Written);
    window.reset(); // closes the recording

    EXPECT_TRUE(bytesOf(recording) == before) << "the recording's bytes changed";
    EXPECT_EQ(fs::last_write_time(file), stamp) << "the recording was written to";
}

// The window's "Save as AVI" and "Report…" aimed at the recording itself, by
// its own name or through a hard link: refused, saying so, and the recording
// keeps its bytes, its inode and its time.
TEST_F(RecordingUntouchedTest, VideoAndReportAimedAtTheRecordingByNameOrHardLinkAreRefused) {
    const QString recording = files.write("SMALL.BIN", recordingOptions(20));
    const QString link = files.filePath("link.avi");
    ASSERT_EQ(::link(recording.toStdString().c_str(), link.toStdString().c_str()), 0);
    namespace fs = std::filesystem;
    const fs::path file = recording.toStdString();
    const auto stamp = fs::last_write_time(file) - std::chrono::hours(24);
    fs::last_write_time(file, stamp);
    const std::string before = bytesOf(recording);
    const auto inodeOf = [&file] {
        struct stat st {};
        ::stat(file.c_str(), &st);
        return st.st_ino;
    };
    const ino_t inode = inodeOf();

    open(recording);
    for (const QString& target : {recording, link}) {
        messages.clear();
        RangeExportRequest video;
        video.from = 1;
        video.to = 3;
        video.output = target.toStdString();
        EXPECT_EQ(exportRange(window->controls(), session(), playback(), window->aviExport(), video),
                  RangeExportResult::NotStarted);
        ASSERT_EQ(messages.texts().size(), 1);
        EXPECT_TRUE(messages.texts()[0].endsWith(target + ": is the recording being read; nothing written"))
            << messages.texts()[0].toStdString();

        report::ReportRequest pdf;
        pdf.recording = recording;
        pdf.output = target.toStdString();
        pdf.frames = {1};
        const report::ReportOutcome outcome = report::writeInspectionReport(pdf);
        EXPECT_EQ(outcome.status, report::ReportStatus::WriteFailed);
        EXPECT_EQ(outcome.error, target + ": is the recording being read; nothing written");
    }
    window.reset();
    EXPECT_TRUE(bytesOf(recording) == before) << "the recording's bytes changed";
    EXPECT_EQ(fs::last_write_time(file), stamp) << "the recording was written to";
    EXPECT_EQ(inodeOf(), inode) << "the recording was replaced";
}

} // namespace
} // namespace pelix::player::test
