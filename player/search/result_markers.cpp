#include "player/search/result_markers.h"

#include "core/search/search_entries.h"
#include "player/search/search_results.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QSizeF>
#include <QWidget>

#include <cmath>

namespace pelix::player {

namespace {
const QColor kMarkerColour(255, 0, 0);
// Half the width and the height of a marker, in twips.
constexpr double kHalfWidth = 30.0;
constexpr double kHeight = 80.0;
} // namespace

ResultMarkers::ResultMarkers(QWidget* strip, const SearchResults& results, std::function<QSizeF()> stripTwips,
                             std::function<double()> scaleFactor, QObject* parent)
    : QObject(parent), m_strip(strip), m_results(results), m_stripTwips(std::move(stripTwips)),
      m_scaleFactor(std::move(scaleFactor)) {
    m_strip->installEventFilter(this);
    connect(&results, &QAbstractItemModel::modelReset, m_strip, qOverload<>(&QWidget::update));
    connect(&results, &QAbstractItemModel::rowsInserted, m_strip, qOverload<>(&QWidget::update));
}

bool ResultMarkers::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_strip && event->type() == QEvent::Paint) paint();
    return QObject::eventFilter(watched, event);
}

void ResultMarkers::paint() {
    const std::vector<int32_t>& frames = m_results.matches();
    const QSizeF twips = m_stripTwips();
    if (frames.empty() || twips.width() <= 0 || twips.height() <= 0) return;
    const double sx = m_strip->width() / twips.width();
    const double sy = m_strip->height() / twips.height();
    const double k = m_scaleFactor();
    QPainter painter(m_strip);
    painter.setPen(QPen(kMarkerColour, 0));
    // Half a million matches land on a few hundred pixel columns: each column is drawn once.
    long previous = LONG_MIN;
    for (const int32_t frame : frames) {
        const double x = search::markerX(frame, m_results.frameCount(), twips.width(), k);
        const long column = std::lround(x * sx);
        if (column == previous) continue;
        previous = column;
        const QPointF left((x - kHalfWidth) * sx, 0), right((x + kHalfWidth) * sx, 0),
            tip(x * sx, kHeight * sy);
        painter.drawLine(left, right);
        painter.drawLine(right, tip);
        painter.drawLine(tip, left);
    }
}

} // namespace pelix::player
