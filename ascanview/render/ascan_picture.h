// picAscan: shows the rasterised A-scan at the screen's device pixel ratio.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

namespace pelix::ascanview {

class AscanPicture : public QWidget {
    Q_OBJECT
  public:
    explicit AscanPicture(QWidget* parent = nullptr);

    void setPicture(const QImage* image) { m_image = image; }
    // Called when the picture no longer fits the widget's size or device pixel
    // ratio (moved to another screen); the owner rasterises its retained
    // drawing again.
    void setStaleHandler(std::function<void()> handler) { m_onStale = std::move(handler); }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QImage* m_image = nullptr;
    std::function<void()> m_onStale;
};

} // namespace pelix::ascanview
