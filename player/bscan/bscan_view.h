// The B-scan of the tool window: paints the picture of the last scan
// stretched over its cells, follows the frame on screen with its cursor,
// turns a click into a frame request and a drag over the columns into a
// frame range to zoom to.
#pragma once

#include "player/bscan/bscan_painter.h"

#include <QWidget>

namespace pelix::bscan {

class BscanView : public QWidget {
    Q_OBJECT
  public:
    explicit BscanView(QWidget* parent = nullptr);

    // What the view says while there is no picture to draw.
    void setPlaceholder(const QString& text);
    void setPicture(BscanPicture picture);
    void clearPicture();
    const BscanPicture& picture() const { return m_picture; }
    bool hasPicture() const { return m_picture.grid != nullptr; }
    void setCurrentFrame(int32_t frame);
    // Bookmarked frames, ascending.
    void setBookmarks(std::vector<int32_t> frames);
    const BscanMarks& marks() const { return m_marks; }

    // Where the cells lie in the view, and the columns over them.
    QRect cellsRect() const { return bscanCellsIn(rect()); }
    BscanColumns columns() const { return bscanColumns(m_picture, cellsRect()); }
    // The cells a scan for the view's present size holds: one a device pixel
    // of the cells' rectangle, within the grid's limits.
    QSize wantedCells() const;

    QSize sizeHint() const override { return {900, 420}; }
    QSize minimumSizeHint() const override { return {320, 240}; }

  signals:
    // The user clicked a column: show `frame`.
    void frameRequested(int32_t frame);
    // The user dragged over the columns holding frames first..last.
    void rangeRequested(int32_t first, int32_t last);
    // The user double-clicked: back to the whole recording.
    void wholeRequested();
    // The frame under the mouse (0: the mouse left the cells) and the row's sample fraction.
    void hovered(int32_t frame, int32_t row, int32_t column);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    // A press that moves less than this is a click, not a drag.
    static constexpr int kDragPixels = 4;

    QRect cursorRect(int32_t frame) const;
    QRect selectionRect() const;

    BscanPicture m_picture;
    BscanMarks m_marks;
    QString m_placeholder;
    double m_pressX = -1.0; // where the left button went down over the cells; -1: not pressed there
    bool m_dragging = false;
};

} // namespace pelix::bscan
