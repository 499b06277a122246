#include "player/overview/overview_strip.h"

#include "core/overview/overview_columns.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace pelix::overview {

OverviewStrip::OverviewStrip(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("overviewStrip"));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void OverviewStrip::setPlaceholder(const QString& text) {
    m_placeholder = text;
    update();
}

void OverviewStrip::setSeries(std::shared_ptr<const OverviewSeries> series) {
    m_series = std::move(series);
    m_columns = {};
    m_lastRequested = 0;
    update();
}

void OverviewStrip::setCurrentFrame(int32_t frame) {
    if (frame == m_marks.currentFrame) return;
    const int32_t n = m_series ? m_series->frameCount() : 0;
    const QRect plot = plotArea(rect());
    // Only the columns the cursor leaves and enters are painted again.
    const auto columnRect = [&](int32_t f) {
        if (n < 1 || f < 1 || plot.width() < 1) return QRect();
        const int x = plot.left() + columnOfFrame(f, plot.width(), n);
        return QRect(x - 1, 0, 3, height());
    };
    const QRect before = columnRect(m_marks.currentFrame);
    m_marks.currentFrame = frame;
    if (columnRect(frame) != before) {
        update(before);
        update(columnRect(frame));
    }
}

void OverviewStrip::setSearchMatches(std::vector<int32_t> frames) {
    m_marks.searchMatches = std::move(frames);
    // Sorted once here rather than on every repaint of the cursor.
    std::sort(m_marks.searchMatches.begin(), m_marks.searchMatches.end());
    update();
}

void OverviewStrip::setIndications(std::vector<IndicationMark> marks) {
    m_marks.indications = std::move(marks);
    update();
}

void OverviewStrip::setBookmarks(std::vector<int32_t> frames) {
    m_marks.bookmarks = std::move(frames);
    update();
}

int32_t OverviewStrip::frameAt(int x) const {
    if (!m_series || m_series->frameCount() < 1) return 0;
    const QRect plot = plotArea(rect());
    if (plot.width() < 1) return 0;
    return frameAtColumn(x - plot.left(), plot.width(), m_series->frameCount());
}

void OverviewStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_series) {
        painter.fillRect(rect(), palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter, m_placeholder);
        return;
    }
    const int width = plotArea(rect()).width();
    if (m_columns.width != width) m_columns = overviewColumns(*m_series, std::max(width, 0));
    paintOverview(painter, rect(), *m_series, m_marks, &m_columns);
}

void OverviewStrip::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_lastRequested = 0;
    mouseMoveEvent(event);
}

void OverviewStrip::mouseMoveEvent(QMouseEvent* event) {
    const int32_t frame = frameAt(static_cast<int>(event->position().x()));
    emit frameHovered(frame);
    if (frame < 1 || !(event->buttons() & Qt::LeftButton) || frame == m_lastRequested) return;
    m_lastRequested = frame;
    emit frameRequested(frame);
}

void OverviewStrip::leaveEvent(QEvent*) {
    emit frameHovered(0);
}

} // namespace pelix::overview
