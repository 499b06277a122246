// picAscan: shows the rasterised A-scan at the screen's device pixel ratio.
#pragma once

#include <QImage>
#include <QWidget>

class AscanPicture : public QWidget {
    Q_OBJECT
  public:
    explicit AscanPicture(QWidget* parent = nullptr);

    void setPicture(const QImage* image) { m_image = image; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    const QImage* m_image = nullptr;
};
