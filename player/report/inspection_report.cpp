#include "player/report/inspection_report.h"

#include "core/files/output_file.h"
#include "core/overview/overview_series.h"
#include "core/report/report_frames.h"
#include "core/report/report_summary.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "player/display/frame_display.h"
#include "player/export/output_device.h"
#include "player/overview/overview_painter.h"
#include "player/report/evidence_sections.h"
#include "player/report/report_painter.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>

#include <algorithm>
#include <atomic>
#include <new>

namespace pelix::report {

using namespace pelix::recording;

namespace {

constexpr int kDpi = 200;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::optional<FrameHeader> firstFrameHeader(const OpenRecording& rec) {
    FrameHeaderBytes bytes{};
    if (rec.file().readAt(rec.recordOffset(1), bytes.data(), bytes.size()) != bytes.size())
        return std::nullopt;
    return decodeFrameHeader(bytes);
}

// What the first pages say beside the recording's own summary.
struct Evidence {
    ReportReview review;
    ReportIndications indications;
};

// The first pages: the inspection, the recording with its summary and overview strip, the
// indications and the bookmarks, as many pages as their lists take.
void summaryPages(ReportPainter& p, const OpenRecording& rec, const overview::OverviewSeries& series,
                  const std::vector<int32_t>& frames, const Evidence& evidence) {
    const QRect page = p.nextPage();
    p.heading(QStringLiteral("Inspection report"), 18);
    if (const QString note = reviewNoteLine(evidence.review); !note.isEmpty()) p.paragraph(note, 10);
    inspectionSection(p, evidence.review);

    p.heading(QStringLiteral("Recording"), 12);
    const SummaryRows summary = recordingSummary(rec, firstFrameHeader(rec), series.flags());
    // Which file this is, first and under short captions, so that the digest, which names this
    // very file, stays on one line where it can be read and compared whole.
    TextRows identity;
    TextRows rows;
    for (const auto& [caption, value] : summary)
        (caption == "File" || caption == "Size" ? identity : rows).emplace_back(qs(caption), qs(value));
    identity.emplace_back(QStringLiteral("SHA-256"), qs(sha256Text(evidence.review)));
    p.table(identity, page.width() / 8);
    rows.emplace_back(QStringLiteral("Frames in this report"), qs(frameListText(frames, 60)));
    p.table(rows, page.width() / 4);
    // The strip keeps its heading and the words under it on its page.
    p.keepRoom(p.lineHeight(12) * 4 / 3 + page.width() / 4 + p.lineHeight(10) / 2 + 4 * p.lineHeight(9));
    p.heading(QStringLiteral("Overview"), 12);
    const QRect area = p.area();
    const QRect strip(area.left(), area.top(), area.width(), std::min(area.height() / 2, page.width() / 4));
    if (QPainter* painter = p.painter()) {
        overview::OverviewMarks marks;
        marks.searchMatches = frames;
        overview::paintOverview(*painter, strip, series, marks);
        painter->setPen(Qt::gray);
        painter->drawRect(strip.adjusted(0, 0, -1, -1));
        painter->setPen(Qt::black);
    }
    p.skip(strip.height() + p.lineHeight(10) / 2);
    p.paragraph(
        QStringLiteral("Recorded echo amplitude of gate A (green) and gate B (blue), 0 to 100 % of screen "
                       "height, from frame 1 (left) to frame %1 (right); lowest to highest value of the "
                       "frames under each point. Operator flags are marked red along the top, the frames "
                       "of this report orange along the bottom.")
            .arg(rec.FrameCount()),
        9);
    indicationsSection(p, evidence.indications, rec.framesPerSecond());
    bookmarksSection(p, evidence.review, rec.FrameCount(), rec.framesPerSecond());
}

// The review as the window hands it over, or found beside the recording once its SHA-256 is
// known. Nothing when the user cancelled the hashing.
std::optional<ReportReview> reviewOf(const ReportRequest& request, const OpenRecording& rec,
                                     const HashingProgress& hashing) {
    ReportReview found;
    if (request.identity) {
        found.identity = request.identity;
    } else {
        std::atomic<bool> stop{false};
        const review::IdentifiedRecording id =
            review::identifyRecording(rec.path(), &stop, [&](std::uint64_t done, std::uint64_t total) {
                if (hashing && !hashing(done, total)) stop = true;
            });
        if (stop) return std::nullopt;
        found.identity = id.identity;
        found.identityError = id.error;
    }
    if (request.review) {
        found.review = request.review;
        return found;
    }
    // Without the digest the file beside the recording is still checked, by its size.
    review::RecordingIdentity identity = found.identity.value_or(review::RecordingIdentity{});
    if (!found.identity) {
        identity.name = QFileInfo(request.recording).fileName().toStdString();
        identity.size = static_cast<std::uint64_t>(std::max<int64_t>(rec.file().length(), 0));
    }
    ReportReview looked = findReportReview(rec.path(), identity);
    looked.identity = found.identity;
    looked.identityError = found.identityError;
    return looked;
}

} // namespace

ReportOutcome writeInspectionReport(const ReportRequest& request, const ReportProgress& progress,
                                    const HashingProgress& hashing) {
    ReportOutcome outcome;
    const OpenOutcome opened = OpenRecording::open(platform::pathToBytes(request.recording));
    if (!opened.recording) {
        outcome.status = ReportStatus::Rejected;
        outcome.error = qs(opened.message);
        return outcome;
    }
    const OpenRecording& rec = *opened.recording;
    // The recording itself is never written, whatever name (or link) the report was given;
    // the report replaces an existing file only once it is complete.
    files::OutputFile pdf;
    const auto notWritten = [&outcome, &pdf] {
        outcome.status = ReportStatus::WriteFailed;
        outcome.error = player::outputError(pdf);
        return outcome;
    };
    if (!pdf.open(request.output, rec.file().identity())) return notWritten();
    overview::OverviewSeries series;
    try {
        series = overview::scanOverview(rec.file(), frameRecordLayout(rec));
    } catch (const std::bad_alloc&) {
        outcome.status = ReportStatus::WriteFailed;
        outcome.error =
            QStringLiteral("not enough memory for the overview of %1 frames").arg(rec.FrameCount());
        return outcome;
    }
    const std::optional<ReportReview> found = reviewOf(request, rec, hashing);
    if (!found) {
        outcome.status = ReportStatus::Cancelled;
        return outcome;
    }
    Evidence evidence{*found, findReportIndications(rec, request.indications)};
    outcome.reviewNote = reviewNoteLine(evidence.review);
    std::vector<int32_t> frames;
    switch (request.choice) {
    case FrameChoice::Listed:
        frames = request.frames.empty() ? defaultReportFrames(series.flags()) : request.frames;
        break;
    case FrameChoice::Bookmarks:
        if (evidence.review.review)
            frames = bookmarkedFrames(evidence.review.review->bookmarks, rec.FrameCount());
        break;
    case FrameChoice::Indications:
        frames = evidence.indications.peakFrames;
        break;
    }
    for (const int32_t f : frames) {
        if (f < 1 || f > rec.FrameCount()) {
            outcome.status = ReportStatus::BadFrames;
            outcome.error = QStringLiteral("frame %1 is not within 1..%2").arg(f).arg(rec.FrameCount());
            return outcome;
        }
    }
    if (frames.size() > kMaxReportFrames) {
        outcome.status = ReportStatus::BadFrames;
        outcome.error = QStringLiteral("more than %1 frames").arg(kMaxReportFrames);
        return outcome;
    }

    // Messages a hidden window would show in a box are kept out of the user's way.
    platform::MessageLog messages;
    frmPlayer window;
    if (!window.ascanError().isEmpty()) {
        outcome.status = ReportStatus::WriteFailed;
        outcome.error = window.ascanError();
        return outcome;
    }
    window.showOffScreen();
    if (window.openRecording(request.recording) != player::OpenResult::Opened) {
        outcome.status = ReportStatus::Rejected;
        outcome.error = messages.texts().join(QLatin1Char('\n'));
        return outcome;
    }

    player::OutputDevice device(pdf);
    QPdfWriter writer(device.device());
    writer.setResolution(kDpi);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 12), QPageLayout::Millimeter);
    writer.setTitle(QStringLiteral("Inspection report: ") + QFileInfo(request.recording).fileName());
    writer.setCreator(QStringLiteral("Pelix Player"));
    QPainter painter;
    if (!painter.begin(&writer)) {
        device.finish(false, "the PDF");
        return notWritten();
    }
    const QString fileName = QFileInfo(request.recording).fileName();
    const QString date = request.date.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    // The summary is laid out once without drawing, so every footer can give the page count.
    ReportPainter counting(writer, nullptr, fileName, date, 0);
    summaryPages(counting, rec, series, frames, evidence);
    const int summaryPageCount = counting.pages();
    const int pageCount = static_cast<int>(frames.size()) + summaryPageCount;
    ReportPainter p(writer, &painter, fileName, date, pageCount);
    summaryPages(p, rec, series, frames, evidence);
    if (progress && !progress(summaryPageCount, pageCount)) {
        painter.end();
        device.close();
        pdf.discard(); // half a report is no report
        outcome.status = ReportStatus::Cancelled;
        return outcome;
    }

    const player::PlayerControls& c = window.controls();
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const int32_t frame = frames[i];
        window.jumpToFrame(frame);
        QApplication::processEvents();
        const bool flagged = std::binary_search(series.flags().begin(), series.flags().end(), frame);
        p.nextPage();
        p.heading(QStringLiteral("Frame %1 of %2  \u2014  %3%4")
                      .arg(frame)
                      .arg(rec.FrameCount())
                      .arg(qs(frameTimeText(frame, rec.framesPerSecond())),
                           flagged ? QStringLiteral("  \u2014  flagged") : QString()),
                  14);
        frameNotes(p, evidence.review, frame);
        TextRows readings;
        for (std::size_t slot = 0; slot < c.lblRdName.size(); ++slot) {
            QString value = c.lblRdValue[slot]->text();
            if (window.display().readings().held(slot)) value += QStringLiteral("   (held)");
            readings.emplace_back(c.lblRdName[slot]->text().isEmpty()
                                      ? QStringLiteral("Reading %1").arg(slot + 1)
                                      : c.lblRdName[slot]->text(),
                                  value);
        }
        const int readingsWidth = p.area().width() / 3;
        if (window.display().lastFrameTraceMissing()) {
            // The screen would hold another frame's trace under this frame's panel: no picture of that.
            outcome.cutShortFrames.push_back(frame);
            p.paragraph(QStringLiteral("This frame is cut short by the end of the file; its trace cannot be "
                                       "shown."),
                        11);
        } else {
            // The picture leaves the readings room below it on the same page.
            const QRect room = p.area();
            p.picture(window.grab(), std::min(room.height() * 2 / 3,
                                              room.height() - p.tableHeight(readings, readingsWidth, true) -
                                                  p.lineHeight(10)));
        }
        p.table(readings, readingsWidth, QStringLiteral("Reading"), QStringLiteral("Value"));
        if (progress && !progress(summaryPageCount + static_cast<int>(i) + 1, pageCount)) {
            painter.end();
            device.close();
            pdf.discard();
            outcome.status = ReportStatus::Cancelled;
            return outcome;
        }
    }
    // The PDF's trailer is written by end(); only a flushed, synced, complete file replaces the target.
    const bool ended = painter.end();
    if (!device.finish(ended, "the PDF") || !pdf.commit()) return notWritten();
    outcome.pages = p.pages();
    outcome.frames = std::move(frames);
    return outcome;
}

} // namespace pelix::report
