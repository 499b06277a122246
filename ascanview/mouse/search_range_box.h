// SearchRange: the transparent, bordered box the user lays over the A-scan to
// describe the echo a frame search looks for.
#pragma once

#include <QWidget>

class SearchRangeBox : public QWidget {
    Q_OBJECT
  public:
    explicit SearchRangeBox(QWidget* parent = nullptr);

  protected:
    void paintEvent(QPaintEvent* event) override;
};
