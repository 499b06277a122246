#include "player/bscan/bscan_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace pelix::bscan {

BscanView::BscanView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("bscanView"));
    setMouseTracking(true);
    setCursor(Qt::CrossCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void BscanView::setPlaceholder(const QString& text) {
    m_placeholder = text;
    update();
}

void BscanView::setPicture(BscanPicture picture) {
    m_picture = std::move(picture);
    m_marks.selection = {};
    m_pressX = -1.0;
    m_dragging = false;
    update();
}

void BscanView::clearPicture() {
    setPicture({});
}

QSize BscanView::wantedCells() const {
    const QRect cells = cellsRect();
    const double ratio = devicePixelRatioF();
    const auto device = [ratio](int pixels) {
        return static_cast<int>(std::lround(std::max(pixels, 1) * ratio));
    };
    return {std::clamp(device(cells.width()), 1, kMaxWidth),
            std::clamp(device(cells.height()), 1, kMaxHeight)};
}

QRect BscanView::cursorRect(int32_t frame) const {
    const BscanColumns c = columns();
    const ColumnRange span = c.columnsOf(frame);
    if (span.empty()) return {};
    const QRect cells = cellsRect();
    const int x1 = static_cast<int>(std::floor(c.xOf(span.first))) - 2;
    const int x2 = static_cast<int>(std::ceil(c.xOf(span.last + 1))) + 2;
    return QRect(x1, cells.top() - 1, x2 - x1 + 1, cells.height() + 2);
}

QRect BscanView::selectionRect() const {
    const QRect cells = cellsRect();
    return QRect(cells.left() - 2, cells.top() - 1, cells.width() + 4, cells.height() + 2);
}

void BscanView::setCurrentFrame(int32_t frame) {
    if (frame == m_marks.cursorFrame) return;
    // Only the columns the cursor leaves and enters are painted again.
    const QRect before = cursorRect(m_marks.cursorFrame);
    m_marks.cursorFrame = frame;
    const QRect after = cursorRect(frame);
    if (after != before) {
        update(before);
        update(after);
    }
}

void BscanView::setBookmarks(std::vector<int32_t> frames) {
    m_marks.bookmarks = std::move(frames);
    update();
}

void BscanView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!hasPicture()) {
        painter.fillRect(rect(), palette().window());
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(rect(), Qt::AlignCenter, m_placeholder);
        return;
    }
    paintBscan(painter, rect(), cellsRect(), m_picture, m_marks);
}

void BscanView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !hasPicture()) return;
    const QPointF at = event->position();
    if (!QRectF(cellsRect()).adjusted(-2, -2, 2, 2).contains(at)) return;
    m_pressX = at.x();
    m_dragging = false;
}

void BscanView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    const BscanColumns c = columns();
    const QRect cells = cellsRect();
    if (c.valid() && QRectF(cells).contains(at)) {
        const int32_t column = c.columnAt(at.x());
        const int32_t rows = m_picture.grid->height();
        const auto row = static_cast<int32_t>(
            std::clamp<double>(std::floor((at.y() - cells.top()) * rows / cells.height()), 0, rows - 1));
        emit hovered(c.frameAt(at.x()), row, column);
    } else {
        emit hovered(0, 0, 0);
    }
    if (m_pressX < 0.0 || !(event->buttons() & Qt::LeftButton)) return;
    if (!m_dragging && std::abs(at.x() - m_pressX) < kDragPixels) return;
    m_dragging = true;
    m_marks.selection = c.framesBetween(m_pressX, at.x());
    update(selectionRect());
}

void BscanView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_pressX < 0.0) return;
    const BscanColumns c = columns();
    const double pressX = m_pressX;
    const bool dragged = m_dragging;
    m_pressX = -1.0;
    m_dragging = false;
    m_marks.selection = {};
    update(selectionRect());
    if (!c.valid()) return;
    if (!dragged) {
        emit frameRequested(c.frameAt(pressX));
        return;
    }
    const FrameSpan span = c.framesBetween(pressX, event->position().x());
    emit rangeRequested(span.first, span.last);
}

void BscanView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_pressX = -1.0;
    m_dragging = false;
    emit wholeRequested();
}

void BscanView::leaveEvent(QEvent*) {
    emit hovered(0, 0, 0);
}

} // namespace pelix::bscan
