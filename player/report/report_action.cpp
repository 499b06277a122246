#include "player/report/report_action.h"

#include "core/report/report_frames.h"
#include "core/report/report_summary.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "player/export/output_device.h"
#include "player/report/inspection_report.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QProgressDialog>

#include <algorithm>
#include <climits>

namespace pelix::report {

std::vector<int32_t> offeredReportFrames(const std::vector<int32_t>& flaggedFrames, int32_t currentFrame) {
    if (!flaggedFrames.empty()) return flaggedFrames;
    return {currentFrame >= 1 ? currentFrame : 1};
}

void runReportAction(QWidget* owner, const QString& recording, const std::vector<int32_t>& flaggedFrames,
                     int32_t currentFrame, int32_t frameCount, const KnownReview& known) {
    QString list = QString::fromStdString(frameListText(offeredReportFrames(flaggedFrames, currentFrame)));
    std::vector<int32_t> frames;
    for (;;) {
        bool ok = false;
        list = QInputDialog::getText(owner, QStringLiteral("Report"),
                                     QStringLiteral("Frames to show, one page each (e.g. 3, 7, 20-25):"),
                                     QLineEdit::Normal, list, &ok);
        if (!ok) return;
        std::string error;
        const auto parsed = parseFrameList(list.toStdString(), frameCount, error);
        if (parsed) {
            frames = *parsed;
            break;
        }
        platform::showMessage(QString::fromStdString(error), platform::MessageIcon::Exclamation, owner);
    }
    const QFileInfo source(recording);
    const QString suggested =
        source.absolutePath() + QLatin1Char('/') + source.completeBaseName() + QStringLiteral("_report.pdf");
    QString output = QFileDialog::getSaveFileName(owner, QStringLiteral("Save report"), suggested,
                                                  QStringLiteral("PDF documents (*.pdf)"));
    if (output.isEmpty()) return;
    if (QFileInfo(output).suffix().isEmpty()) output += QStringLiteral(".pdf");

    QProgressDialog progress(QStringLiteral("Writing the report\u2026"), QStringLiteral("Cancel"), 0,
                             static_cast<int>(frames.size()) + 1, owner);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    ReportRequest request;
    request.recording = recording;
    request.output = platform::pathToBytes(output);
    request.frames = frames;
    request.review = known.review;
    request.identity = known.identity;
    // The digest runs in MiB on the same bar, then the bar restarts for the pages.
    bool hashing = false;
    const ReportOutcome outcome = writeInspectionReport(
        request,
        [&progress, &hashing](int done, int total) {
            if (hashing) {
                hashing = false;
                progress.setLabelText(QStringLiteral("Writing the report\u2026"));
            }
            // Long lists can run the summary on to more than one page.
            progress.setMaximum(total);
            progress.setValue(done);
            return !progress.wasCanceled();
        },
        [&progress, &hashing](std::uint64_t done, std::uint64_t total) {
            if (!hashing) {
                hashing = true;
                progress.setLabelText(QStringLiteral("Computing the recording's SHA-256\u2026"));
                progress.setMaximum(static_cast<int>(std::min<std::uint64_t>(total >> 20, INT_MAX - 1) + 1));
            }
            progress.setValue(static_cast<int>(std::min<std::uint64_t>(done >> 20, INT_MAX - 1)));
            return !progress.wasCanceled();
        });
    progress.reset();
    switch (outcome.status) {
    case ReportStatus::Written:
    case ReportStatus::Cancelled:
        return;
    default:
        platform::showMessage(QStringLiteral("The report was not written: ") + outcome.error,
                              platform::MessageIcon::Exclamation, owner);
    }
}

} // namespace pelix::report
