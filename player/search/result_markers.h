// The red triangles on picResultLabel, the strip under the position slider:
// one per matching frame, at the frame's place along the strip. They are
// painted from the search results whenever the strip repaints, so a resized
// window shows them at their new places.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace pelix::player {

class SearchResults;

class ResultMarkers : public QObject {
    Q_OBJECT
  public:
    // `stripTwips` gives the strip's width and height in twips and
    // `scaleFactor` the window's horizontal scale factor.
    ResultMarkers(QWidget* strip, const SearchResults& results, std::function<QSizeF()> stripTwips,
                  std::function<double()> scaleFactor, QObject* parent = nullptr);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void paint();

    QWidget* m_strip;
    const SearchResults& m_results;
    std::function<QSizeF()> m_stripTwips;
    std::function<double()> m_scaleFactor;
};

} // namespace pelix::player
