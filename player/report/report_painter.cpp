#include "player/report/report_painter.h"

#include <QFontMetrics>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <QTextLayout>

#include <algorithm>

namespace pelix::report {

QStringList wrapText(const QString& text, const QFont& font, int width, QPaintDevice* device) {
    QStringList lines;
    // Each line of the text is laid out on its own; an empty one still takes a line.
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, font, device);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        int before = static_cast<int>(lines.size());
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(std::max(1, width));
            lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
        if (static_cast<int>(lines.size()) == before) lines << QString();
    }
    return lines;
}

ReportPainter::ReportPainter(QPagedPaintDevice& writer, QPainter* painter, QString fileName, QString date,
                             int pageCount)
    : m_writer(writer), m_painter(painter), m_fileName(std::move(fileName)), m_date(std::move(date)),
      m_pageCount(pageCount) {}

int ReportPainter::lineHeight(int points) const {
    return points * m_writer.logicalDpiY() * 3 / (72 * 2);
}

QFont ReportPainter::font(int points, bool bold) const {
    QFont f(QStringLiteral("Sans Serif"));
    f.setPointSize(points);
    f.setBold(bold);
    // No ligatures: "fl" and "fi" stay two letters for whoever searches or copies the report's text.
    f.setStyleStrategy(QFont::PreferNoShaping);
    return f;
}

QRect ReportPainter::nextPage() {
    ++m_page;
    const int w = m_writer.width();
    const int h = m_writer.height();
    const int line = lineHeight(9);
    if (m_painter) {
        if (m_page > 1) m_writer.newPage();
        footer(m_page);
    }
    m_body = QRect(0, 0, w, h - 2 * line);
    m_y = m_body.top();
    return m_body;
}

void ReportPainter::footer(int number) {
    const int w = m_writer.width();
    const int h = m_writer.height();
    const int line = lineHeight(9);
    const QRect box(0, h - line, w, line);
    const QFont f = font(9);
    m_painter->setFont(f);
    m_painter->setPen(Qt::darkGray);
    m_painter->drawLine(0, box.top() - line / 3, w, box.top() - line / 3);
    const QString page = QStringLiteral("Page %1 of %2").arg(number).arg(m_pageCount);
    const QString date = QStringLiteral("  \u2014  report of ") + m_date;
    const QFontMetrics metrics(f, &m_writer);
    // The footer is one line: a file name too long for it is shortened in the middle
    // here (page 1 gives it whole), the date and the page number are always kept.
    const int room = w - metrics.horizontalAdvance(page) - metrics.horizontalAdvance(date) - line;
    m_painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                        metrics.elidedText(m_fileName, Qt::ElideMiddle, std::max(room, line)) + date);
    m_painter->drawText(box, Qt::AlignRight | Qt::AlignVCenter, page);
    m_painter->setPen(Qt::black);
}

QRect ReportPainter::area() const {
    return QRect(m_body.left(), m_y, m_body.width(), std::max(0, m_body.bottom() - m_y));
}

void ReportPainter::keepRoom(int pixels) {
    if (m_y > m_body.top() && m_body.bottom() - m_y < pixels) nextPage();
}

void ReportPainter::rule(const QColor& colour, int y) {
    if (!m_painter) return;
    m_painter->setPen(colour);
    m_painter->drawLine(m_body.left(), y, m_body.right(), y);
    m_painter->setPen(Qt::black);
}

void ReportPainter::fullWidthLines(const QString& text, const QFont& f, int h) {
    for (const QString& line : wrapText(text, f, m_body.width(), &m_writer)) {
        keepRoom(h);
        if (m_painter) {
            m_painter->setFont(f);
            m_painter->drawText(QRect(m_body.left(), m_y, m_body.width(), h),
                                Qt::AlignLeft | Qt::AlignVCenter, line);
        }
        m_y += h;
    }
}

void ReportPainter::heading(const QString& text, int points) {
    fullWidthLines(text, font(points, true), lineHeight(points));
    m_y += lineHeight(points) / 3;
}

int ReportPainter::tableHeight(const TextRows& rows, int captionWidth, bool withHeader) const {
    const int h = lineHeight(10);
    qsizetype lines = withHeader ? 1 : 0;
    for (const auto& [caption, value] : rows)
        lines += std::max(wrapText(caption, font(10, true), captionWidth, &m_writer).size(),
                          wrapText(value, font(10), m_body.width() - captionWidth, &m_writer).size());
    return static_cast<int>(lines) * h + h / 2;
}

void ReportPainter::table(const TextRows& rows, int captionWidth, const QString& header1,
                          const QString& header2) {
    const int h = lineHeight(10);
    const int valueWidth = m_body.width() - captionWidth;
    const bool withHeader = !header1.isEmpty() || !header2.isEmpty();
    const auto cell = [&](const QFont& f, int left, int width, const QString& text) {
        if (!m_painter) return;
        m_painter->setFont(f);
        m_painter->drawText(QRect(left, m_y, width, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    const auto header = [&] {
        if (!withHeader) return;
        cell(font(10, true), m_body.left(), captionWidth, header1);
        cell(font(10, true), m_body.left() + captionWidth, valueWidth, header2);
        m_y += h;
        rule(Qt::black, m_y);
    };
    // The header and at least a first line stay together.
    keepRoom((withHeader ? 2 : 1) * h);
    header();
    for (const auto& [caption, value] : rows) {
        const QStringList a = wrapText(caption, font(10, true), captionWidth, &m_writer);
        const QStringList b = wrapText(value, font(10), valueWidth, &m_writer);
        for (qsizetype i = 0; i < std::max(a.size(), b.size()); ++i) {
            if (m_body.bottom() - m_y < h) {
                nextPage();
                header();
            }
            if (i < a.size()) cell(font(10, true), m_body.left(), captionWidth, a[i]);
            if (i < b.size()) cell(font(10), m_body.left() + captionWidth, valueWidth, b[i]);
            m_y += h;
        }
        rule(QColor(210, 210, 210), m_y);
    }
    m_y += h / 2;
}

void ReportPainter::grid(const QStringList& header, const std::vector<QStringList>& rows,
                         const std::vector<int>& widths) {
    const int h = lineHeight(10);
    const int gap = h / 2;
    std::vector<int> lefts;
    std::vector<int> columnWidths;
    int left = m_body.left();
    for (qsizetype k = 0; k < header.size(); ++k) {
        const bool last = k + 1 == header.size();
        const int width = last || static_cast<std::size_t>(k) >= widths.size()
                              ? m_body.right() + 1 - left
                              : widths[static_cast<std::size_t>(k)];
        lefts.push_back(left);
        // A column keeps a gap to the next; the last one reaches the margin.
        columnWidths.push_back(std::max(1, last ? width : width - gap));
        left += width;
    }
    const auto cell = [&](const QFont& f, std::size_t k, const QString& text) {
        if (!m_painter) return;
        m_painter->setFont(f);
        m_painter->drawText(QRect(lefts[k], m_y, columnWidths[k], h), Qt::AlignLeft | Qt::AlignVCenter, text);
    };
    // A heading wider than its column wraps like any other text.
    std::vector<QStringList> headLines;
    qsizetype headHeight = 1;
    for (std::size_t k = 0; k < lefts.size(); ++k) {
        headLines.push_back(
            wrapText(header[static_cast<qsizetype>(k)], font(10, true), columnWidths[k], &m_writer));
        headHeight = std::max(headHeight, headLines.back().size());
    }
    const auto head = [&] {
        for (qsizetype i = 0; i < headHeight; ++i) {
            for (std::size_t k = 0; k < lefts.size(); ++k)
                if (i < headLines[k].size()) cell(font(10, true), k, headLines[k][i]);
            m_y += h;
        }
        rule(Qt::black, m_y);
    };
    keepRoom(static_cast<int>(headHeight + 1) * h);
    head();
    const QFont plain = font(10);
    std::vector<QStringList> lines(lefts.size());
    for (const QStringList& row : rows) {
        qsizetype height = 1;
        for (std::size_t k = 0; k < lefts.size(); ++k) {
            const QString text =
                static_cast<qsizetype>(k) < row.size() ? row[static_cast<qsizetype>(k)] : QString();
            lines[k] = wrapText(text, plain, columnWidths[k], &m_writer);
            height = std::max(height, lines[k].size());
        }
        // A row that fits on a page is kept whole on one; a taller one runs on between its lines.
        const int rowHeight = static_cast<int>(height) * h;
        if (m_body.bottom() - m_y < rowHeight &&
            rowHeight <= m_body.height() - static_cast<int>(headHeight + 1) * h) {
            nextPage();
            head();
        }
        for (qsizetype i = 0; i < height; ++i) {
            if (m_body.bottom() - m_y < h) {
                nextPage();
                head();
            }
            for (std::size_t k = 0; k < lefts.size(); ++k)
                if (i < lines[k].size()) cell(plain, k, lines[k][i]);
            m_y += h;
        }
        rule(QColor(210, 210, 210), m_y);
    }
    m_y += h / 2;
}

void ReportPainter::paragraph(const QString& text, int points) {
    const QFont f = font(points);
    fullWidthLines(text, f, QFontMetrics(f, &m_writer).lineSpacing());
    m_y += lineHeight(points) / 3;
}

void ReportPainter::picture(const QPixmap& pixmap, int maxHeight) {
    if (pixmap.isNull()) return;
    const QRect room = area();
    const QSize size =
        pixmap.size().scaled(room.width(), std::min(maxHeight, room.height()), Qt::KeepAspectRatio);
    const QRect target(room.left(), room.top(), size.width(), size.height());
    if (m_painter) {
        m_painter->drawPixmap(target, pixmap);
        m_painter->setPen(Qt::gray);
        m_painter->drawRect(target.adjusted(0, 0, -1, -1));
        m_painter->setPen(Qt::black);
    }
    m_y += size.height() + lineHeight(10);
}

} // namespace pelix::report
