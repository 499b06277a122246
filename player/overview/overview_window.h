// The overview tool window: the whole recording at a glance beside the main
// window. It shows the strip, what lies under the mouse and the "Report…"
// action; it knows nothing of the main window but what it is told.
#pragma once

#include "player/overview/overview_scanner.h"
#include "player/overview/overview_strip.h"

#include "core/recording/frame_header_scan.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::overview {

class OverviewWindow : public QWidget {
    Q_OBJECT
  public:
    explicit OverviewWindow(QWidget* parent = nullptr);

    // A recording was opened: its overview is read in the background, at once
    // while the window shows, else when it is first shown (hidden main windows
    // that draw pictures or reports never pay for a scan).
    void setRecording(const recording::OpenRecording& rec);
    // No recording is open any more.
    void clear();
    void setCurrentFrame(int32_t frame);
    // The frames the last search found, marked along the bottom of the strip.
    void setSearchMatches(std::vector<int32_t> frames);

    // Places the window beside `anchor` where the screen has room, else below
    // it (else above), never over it.
    void placeBeside(const QWidget& anchor);
    OverviewStrip& strip() { return *m_strip; }
    const OverviewScanner& scanner() const { return *m_scanner; }

  protected:
    void showEvent(QShowEvent* event) override;

  signals:
    // The user clicked or dragged in the strip.
    void frameRequested(int32_t frame);
    // The user pressed "Report…": the recording, its flagged frames (empty
    // until the scan is done), the frame on screen and the frame count. The
    // program answers it with the report dialog, which sits above the window.
    void reportRequested(const QString& recording, const std::vector<int32_t>& flaggedFrames,
                         int32_t currentFrame, int32_t frameCount);

  private:
    // Below this the strip and its bottom row are too cramped to read.
    static constexpr int kMinimumWidth = 320;
    static constexpr int kMinimumHeight = 120;

    void startPendingScan();
    void seriesReady(std::shared_ptr<const OverviewSeries> series);
    void showHovered(int32_t frame);
    void makeReport();

    OverviewStrip* m_strip = nullptr;
    OverviewScanner* m_scanner = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_report = nullptr;
    QString m_path;
    recording::FrameRecordLayout m_layout;
    bool m_scanPending = false;
    int32_t m_framesPerSecond = 50;
    int32_t m_frameCount = 0;
};

} // namespace pelix::overview
