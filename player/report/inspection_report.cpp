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
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>

#include <algorithm>
#include <new>

namespace pelix::report {

using namespace pelix::recording;

namespace {

constexpr int kDpi = 200;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

struct PageFrame {
    QRect body; // between the margins, above the footer
    QRect footer;
};

class ReportPainter {
  public:
    ReportPainter(QPdfWriter& writer, QPainter& painter, QString fileName, QString date, int pageCount)
        : m_writer(writer), m_painter(painter), m_fileName(std::move(fileName)), m_date(std::move(date)),
          m_pageCount(pageCount) {}

    // Starts page `number` (1-based) and returns the area to fill.
    QRect beginPage(int number) {
        if (number > 1) m_writer.newPage();
        const int w = m_writer.width();
        const int h = m_writer.height();
        const int line = lineHeight(9);
        const QRect footer(0, h - line, w, line);
        m_painter.setFont(font(9));
        m_painter.setPen(Qt::darkGray);
        m_painter.drawLine(0, footer.top() - line / 3, w, footer.top() - line / 3);
        m_painter.drawText(footer, Qt::AlignLeft | Qt::AlignVCenter,
                           m_fileName + QStringLiteral("  \u2014  report of ") + m_date);
        m_painter.drawText(footer, Qt::AlignRight | Qt::AlignVCenter,
                           QStringLiteral("Page %1 of %2").arg(number).arg(m_pageCount));
        m_painter.setPen(Qt::black);
        return QRect(0, 0, w, footer.top() - line);
    }

    // Draws `text` at the top of `area` and returns the area below it.
    QRect heading(const QRect& area, const QString& text, int points) {
        m_painter.setFont(font(points, true));
        const int h = lineHeight(points);
        m_painter.drawText(QRect(area.left(), area.top(), area.width(), h), Qt::AlignLeft | Qt::AlignVCenter,
                           text);
        return area.adjusted(0, h + h / 3, 0, 0);
    }

    // Caption/value rows in two columns; returns the area below the table.
    QRect table(const QRect& area, const std::vector<std::pair<QString, QString>>& rows, int captionWidth,
                const QString& header1 = {}, const QString& header2 = {}) {
        const int h = lineHeight(10);
        int y = area.top();
        const auto row = [&](const QString& a, const QString& b, bool bold) {
            m_painter.setFont(font(10, bold));
            m_painter.drawText(QRect(area.left(), y, captionWidth, h), Qt::AlignLeft | Qt::AlignVCenter, a);
            m_painter.setFont(font(10, false));
            m_painter.drawText(QRect(area.left() + captionWidth, y, area.width() - captionWidth, h),
                               Qt::AlignLeft | Qt::AlignVCenter, b);
            y += h;
            m_painter.setPen(QColor(210, 210, 210));
            m_painter.drawLine(area.left(), y, area.right(), y);
            m_painter.setPen(Qt::black);
        };
        if (!header1.isEmpty() || !header2.isEmpty()) {
            m_painter.setFont(font(10, true));
            m_painter.drawText(QRect(area.left(), y, captionWidth, h), Qt::AlignLeft | Qt::AlignVCenter,
                               header1);
            m_painter.drawText(QRect(area.left() + captionWidth, y, area.width() - captionWidth, h),
                               Qt::AlignLeft | Qt::AlignVCenter, header2);
            y += h;
            m_painter.drawLine(area.left(), y, area.right(), y);
        }
        for (const auto& [a, b] : rows)
            row(a, b, true);
        return QRect(area.left(), y + h / 2, area.width(), std::max(0, area.bottom() - y - h / 2));
    }

    QRect text(const QRect& area, const QString& text, int points) {
        m_painter.setFont(font(points));
        const QRect used = m_painter.boundingRect(area, Qt::AlignLeft | Qt::TextWordWrap, text);
        m_painter.drawText(area, Qt::AlignLeft | Qt::TextWordWrap, text);
        return area.adjusted(0, used.height() + lineHeight(points) / 3, 0, 0);
    }

    // A picture scaled to the width of `area` (never above `maxHeight`), keeping its proportions.
    QRect picture(const QRect& area, const QPixmap& pixmap, int maxHeight) {
        if (pixmap.isNull()) return area;
        QSize size =
            pixmap.size().scaled(area.width(), std::min(maxHeight, area.height()), Qt::KeepAspectRatio);
        const QRect target(area.left(), area.top(), size.width(), size.height());
        m_painter.drawPixmap(target, pixmap);
        m_painter.setPen(Qt::gray);
        m_painter.drawRect(target.adjusted(0, 0, -1, -1));
        m_painter.setPen(Qt::black);
        return area.adjusted(0, size.height() + lineHeight(10), 0, 0);
    }

    int lineHeight(int points) const { return points * kDpi * 3 / (72 * 2); }
    QPainter& painter() { return m_painter; }

  private:
    QFont font(int points, bool bold = false) const {
        QFont f(QStringLiteral("Sans Serif"));
        f.setPointSize(points);
        f.setBold(bold);
        // No ligatures: "fl" and "fi" stay two letters for whoever searches or copies the report's text.
        f.setStyleStrategy(QFont::PreferNoShaping);
        return f;
    }

    QPdfWriter& m_writer;
    QPainter& m_painter;
    QString m_fileName;
    QString m_date;
    int m_pageCount;
};

std::optional<FrameHeader> firstFrameHeader(const OpenRecording& rec) {
    FrameHeaderBytes bytes{};
    if (rec.file().readAt(rec.recordOffset(1), bytes.data(), bytes.size()) != bytes.size())
        return std::nullopt;
    return decodeFrameHeader(bytes);
}

void summaryPage(ReportPainter& p, const QRect& page, const OpenRecording& rec,
                 const overview::OverviewSeries& series, const std::vector<int32_t>& frames) {
    QRect area = p.heading(page, QStringLiteral("Inspection report"), 18);
    const SummaryRows summary = recordingSummary(rec, firstFrameHeader(rec), series.flags());
    std::vector<std::pair<QString, QString>> rows;
    for (const auto& [caption, value] : summary)
        rows.emplace_back(qs(caption), qs(value));
    rows.emplace_back(QStringLiteral("Frames in this report"), qs(frameListText(frames, 60)));
    area = p.table(area, rows, page.width() / 4);
    area = p.heading(area, QStringLiteral("Overview"), 12);
    const QRect strip(area.left(), area.top(), area.width(), std::min(area.height() / 2, page.width() / 4));
    overview::OverviewMarks marks;
    marks.searchMatches = frames;
    overview::paintOverview(p.painter(), strip, series, marks);
    p.painter().setPen(Qt::gray);
    p.painter().drawRect(strip.adjusted(0, 0, -1, -1));
    p.painter().setPen(Qt::black);
    area = area.adjusted(0, strip.height() + p.lineHeight(10) / 2, 0, 0);
    p.text(area,
           QStringLiteral(
               "Recorded echo amplitude of gate A (green) and gate B (blue), 0 to 100 % of screen "
               "height, from frame 1 (left) to frame %1 (right); lowest to highest value of the frames "
               "under each point. Operator flags are marked red along the top, the frames of this "
               "report orange along the bottom.")
               .arg(rec.FrameCount()),
           9);
}

} // namespace

ReportOutcome writeInspectionReport(const ReportRequest& request, const ReportProgress& progress) {
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
    std::vector<int32_t> frames =
        request.frames.empty() ? defaultReportFrames(series.flags()) : request.frames;
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
    const int pageCount = static_cast<int>(frames.size()) + 1;
    ReportPainter p(writer, painter, QFileInfo(request.recording).fileName(),
                    request.date.toString(QStringLiteral("yyyy-MM-dd HH:mm")), pageCount);
    summaryPage(p, p.beginPage(1), rec, series, frames);
    if (progress && !progress(1, pageCount)) {
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
        QRect area = p.beginPage(static_cast<int>(i) + 2);
        area = p.heading(area,
                         QStringLiteral("Frame %1 of %2  \u2014  %3%4")
                             .arg(frame)
                             .arg(rec.FrameCount())
                             .arg(qs(frameTimeText(frame, rec.framesPerSecond())),
                                  flagged ? QStringLiteral("  \u2014  flagged") : QString()),
                         14);
        if (window.display().lastFrameTraceMissing()) {
            // The screen would hold another frame's trace under this frame's panel: no picture of that.
            outcome.cutShortFrames.push_back(frame);
            area =
                p.text(area,
                       QStringLiteral("This frame is cut short by the end of the file; its trace cannot be "
                                      "shown."),
                       11);
        } else {
            area = p.picture(area, window.grab(), area.height() * 2 / 3);
        }
        std::vector<std::pair<QString, QString>> readings;
        for (std::size_t slot = 0; slot < c.lblRdName.size(); ++slot) {
            QString value = c.lblRdValue[slot]->text();
            if (window.display().readings().held(slot)) value += QStringLiteral("   (held)");
            readings.emplace_back(c.lblRdName[slot]->text().isEmpty()
                                      ? QStringLiteral("Reading %1").arg(slot + 1)
                                      : c.lblRdName[slot]->text(),
                                  value);
        }
        p.table(area, readings, area.width() / 3, QStringLiteral("Reading"), QStringLiteral("Value"));
        if (progress && !progress(static_cast<int>(i) + 2, pageCount)) {
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
    outcome.pages = pageCount;
    return outcome;
}

} // namespace pelix::report
