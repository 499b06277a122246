// The window's status line: one line that says what the program last did for
// the user (a video written, and where). A text longer than the line is cut
// in the middle, so the start of the sentence and the file's name stay in
// sight; the whole text is the line's tooltip.
#pragma once

#include <QLabel>

namespace pelix::player {

class StatusLine : public QLabel {
    Q_OBJECT
  public:
    explicit StatusLine(QWidget* parent = nullptr);

    void showMessage(const QString& text);
    // The text as it is drawn in the line's present width.
    QString shownText() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace pelix::player
