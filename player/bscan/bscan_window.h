// The B-scan tool window: the A-scans of the recording side by side beside
// the main window. Scanned in the background whenever it shows a range or a
// size it has no cells for; a drag over the columns zooms to their frames,
// "Whole recording" (or a double-click) goes back. It knows nothing of the
// main window but what it is told.
#pragma once

#include "player/bscan/bscan_scanner.h"
#include "player/bscan/bscan_view.h"
#include "player/overview/bookmark_marks.h"

#include <QWidget>

#include <cstdint>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::bscan {

class BscanWindow : public QWidget {
    Q_OBJECT
  public:
    explicit BscanWindow(QWidget* parent = nullptr);

    // A recording was opened: its whole B-scan is read in the background, at
    // once while the window shows, else when it is next shown.
    void setRecording(const recording::OpenRecording& rec);
    // No recording is open any more.
    void clear();
    void setCurrentFrame(int32_t frame);
    // The reviewer's bookmarks, marked above the columns of their frames (those beyond the
    // recording are not) and named in the status line under the pointer.
    void setBookmarks(overview::SharedBookmarks marks);
    // Shows frames first..last (clamped to the recording), scanned afresh.
    void showFrames(int32_t first, int32_t last);
    void showWholeRecording();

    // Places the window beside `anchor` where the screen has room, never over it.
    void placeBeside(const QWidget& anchor);
    BscanView& view() { return *m_view; }
    const BscanScanner& scanner() const { return *m_scanner; }
    // The frames and the cells the running or last scan was asked for.
    FrameSpan range() const { return m_range; }
    QSize scannedCells() const { return m_scanCells; }

  signals:
    // The user clicked a column.
    void frameRequested(int32_t frame);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void showProgressBar(bool shown);
    // Resizing settles before the cells are read again at the new size.
    static constexpr int kResizeSettleMs = 200;
    static constexpr int kProgressMs = 100;

    void startScan();
    void startPendingScan();
    void scanFinished(std::shared_ptr<const BscanScan> scan);
    void sizeSettled();
    void showProgress();
    void showHovered(int32_t frame, int32_t row, int32_t column);
    void showScanStatus();

    BscanView* m_view = nullptr;
    BscanScanner* m_scanner = nullptr;
    QLabel* m_status = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_hint = nullptr;
    QPushButton* m_whole = nullptr;
    QTimer* m_resizeTimer = nullptr;
    QTimer* m_progressTimer = nullptr;

    void showBookmarks();

    overview::SharedBookmarks m_bookmarkList;
    overview::BookmarkMarks m_bookmarks;
    BscanScanSource m_source;
    SampleAxis m_axis;
    int32_t m_framesPerSecond = 50;
    int32_t m_frameCount = 0;
    FrameSpan m_range;
    QSize m_scanCells;
    bool m_scanPending = false;
    QString m_scanStatus; // what the last scan said about itself
};

} // namespace pelix::bscan
