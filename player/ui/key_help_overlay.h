// The help overlay (F1): the window's keys as a table over the window, drawn
// from the one list the window binds them from. Escape, F1 again or a click
// takes it away; it never changes what the window beneath it shows.
#pragma once

#include <QString>
#include <QWidget>

#include <utility>
#include <vector>

namespace pelix::player {

class KeyHelpOverlay : public QWidget {
    Q_OBJECT
  public:
    explicit KeyHelpOverlay(QWidget* window);

    // Shows the overlay over the whole window, or hides it when it is showing.
    void toggle();
    // The table's rows as shown: the key, then what it does.
    static std::vector<std::pair<QString, QString>> rows();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pelix::player
