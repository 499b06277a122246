// frmProgress: the small window that shows how far a search has come. It is
// not modal; it stays above the other windows while it is shown and centres
// itself over its owner whenever it is shown. Escape or closing it asks the
// search to stop.
#pragma once

#include <QWidget>

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
    bool m_cancelRequested = false;
    bool m_ending = false;
};

} // namespace pelix::player
