// frmProgress: the small window that shows how far a search has come: the
// bar, and the frames searched with the matches found so far. It is not
// modal; it stays above the other windows while it is shown and centres
// itself over its owner whenever it is shown. Its Cancel button, Escape or
// closing it asks the search to stop.
#pragma once

#include <QWidget>

#include <cstdint>

class QLabel;
class QPushButton;

namespace pelix::platform {
class ProgressBar;
}

namespace pelix::player {

class frmProgress : public QWidget {
    Q_OBJECT
  public:
    // `owner` is the window it centres over.
    explicit frmProgress(QWidget* owner);

    pelix::platform::ProgressBar* progressBar() const { return m_progressBar; }
    // Shows it over its owner, topmost, with the bar at 0 of `maximum`.
    void begin(int maximum);
    // Frames 1 .. framesSearched are tested, with `matches` found among them.
    void showProgress(int32_t framesSearched, int64_t matches);
    QLabel* progressLabel() const { return m_progressLabel; }
    QPushButton* cancelButton() const { return m_cancelButton; }
    // Drops the topmost state and hides it.
    void end();

    bool cancelRequested() const { return m_cancelRequested; }
    void requestCancel();

  signals:
    void cancelled();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void centreOverOwner();

    QWidget* m_owner;
    pelix::platform::ProgressBar* m_progressBar;
    QLabel* m_progressLabel;
    QPushButton* m_cancelButton;
    bool m_cancelRequested = false;
    bool m_ending = false;
};

} // namespace pelix::player
