// The overview strip of the tool window: paints the series, follows the frame
// on screen with its cursor and turns a click or drag into a frame request.
#pragma once

#include "core/overview/overview_series.h"
#include "player/overview/overview_painter.h"

#include <QWidget>

#include <memory>

namespace pelix::overview {

class OverviewStrip : public QWidget {
    Q_OBJECT
  public:
    explicit OverviewStrip(QWidget* parent = nullptr);

    // What the strip says while there is no series to draw.
    void setPlaceholder(const QString& text);
    void setSeries(std::shared_ptr<const OverviewSeries> series);
    const OverviewSeries* series() const { return m_series.get(); }
    void setCurrentFrame(int32_t frame);
    void setSearchMatches(std::vector<int32_t> frames);
    void setIndications(std::vector<IndicationMark> marks);
    // The frames of the bookmarks inside the recording, ascending.
    void setBookmarks(std::vector<int32_t> frames);
    const OverviewMarks& marks() const { return m_marks; }

    // The frame a click at widget x shows (0 when there is no series).
    int32_t frameAt(int x) const;

    QSize sizeHint() const override { return {800, 120}; }
    QSize minimumSizeHint() const override { return {160, 48}; }

  signals:
    // The user clicked or dragged to `frame`.
    void frameRequested(int32_t frame);
    // The frame under the mouse (0: the mouse left the strip).
    void frameHovered(int32_t frame);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    std::shared_ptr<const OverviewSeries> m_series;
    // Decimated once per series and width, not on every cursor move.
    OverviewColumns m_columns;
    OverviewMarks m_marks;
    QString m_placeholder;
    int32_t m_lastRequested = 0;
};

} // namespace pelix::overview
