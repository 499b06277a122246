// The overview tool window: the whole recording at a glance beside the main
// window. It shows the strip, what lies under the mouse, the "Report…"
// action, the re-measure of every frame with the gates where the user left
// them ("Apply to all frames", "Recorded values") and the indications list;
// it knows nothing of the main window but what it is told.
#pragma once

#include "player/overview/bookmark_marks.h"
#include "player/overview/indications_finder.h"
#include "player/overview/overview_scanner.h"
#include "player/overview/overview_strip.h"
#include "player/overview/remeasure_runner.h"

#include "core/recording/frame_header_scan.h"
#include "core/recording/recording_header.h"
#include "player/evaluation/dragged_gates.h"

#include <QWidget>

#include <cstdint>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::overview {

class BookmarksPanel;
class IndicationsPanel;

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

    // The reviewer's bookmarks: listed beside the indications, marked on the strip. A bookmark
    // beyond the recording is listed, greyed, and not marked.
    void setBookmarks(SharedBookmarks marks);

    // The user left gates moved in the main window: "Apply to all frames" takes them to every
    // frame, and a re-measure with other gates is shown as stale.
    void setDraggedGates(const player::DraggedGates& gates);
    // Re-measures every frame with the dragged gates (once the overview is read, if it is not yet).
    void applyToAllFrames();
    void cancelRemeasure();
    // Back to the amplitudes as recorded.
    void showRecordedValues();

    // Places the window beside `anchor` where the screen has room, else below
    // it (else above), never over it.
    void placeBeside(const QWidget& anchor);
    OverviewStrip& strip() { return *m_strip; }
    const OverviewScanner& scanner() const { return *m_scanner; }
    RemeasureRunner& remeasure() { return *m_runner; }
    const RemeasureRunner& remeasure() const { return *m_runner; }
    const IndicationsFinder& indicationsFinder() const { return *m_finder; }
    IndicationsPanel& indications() { return *m_indications; }
    BookmarksPanel& bookmarks() { return *m_bookmarks; }
    // The re-measure the strip shows; null while it shows the recorded amplitudes.
    const RemeasuredSeries* remeasured() const { return m_remeasured.get(); }
    // What the line above the strip says about the series it shows.
    QString seriesCaption() const;
    // The re-measure shown was made with other gates than those last dragged.
    bool remeasureStale() const;

  protected:
    void showEvent(QShowEvent* event) override;

  signals:
    // The user clicked or dragged in the strip, or clicked an indication (its peak frame) or a
    // bookmark.
    void frameRequested(int32_t frame);
    // The user asked to edit or delete bookmark `index` (its place in the list last given).
    void bookmarkEditRequested(int index);
    void bookmarkDeleteRequested(int index);
    // The user pressed "Report…": the recording, its flagged frames (empty
    // until the scan is done), the frame on screen and the frame count. The
    // program answers it with the report dialog, which sits above the window.
    void reportRequested(const QString& recording, const std::vector<int32_t>& flaggedFrames,
                         int32_t currentFrame, int32_t frameCount);

  private:
    // Below this the strip, the indications and the bottom row are too cramped to read.
    static constexpr int kMinimumWidth = 480;
    static constexpr int kMinimumHeight = 320;

    void startPendingScan();
    // Drops the series, the re-measure and the indications of the recording that was open.
    void forgetSeries();
    void seriesReady(std::shared_ptr<const OverviewSeries> series);
    void remeasureFinished(std::shared_ptr<const RemeasuredSeries> result);
    void remeasureProgress(int32_t measured, int32_t frameCount);
    // Puts the recorded or re-measured series on the strip and searches it for indications.
    void showSeries();
    void findIndications();
    void indicationsFound(std::shared_ptr<const std::vector<indications::Indication>> found);
    void updateRemeasureControls();
    // The bookmarks given, against the recording open now.
    void showBookmarks();
    void showHovered(int32_t frame);
    void makeReport();
    QString gatesText(const player::DraggedGates& gates) const;

    OverviewStrip* m_strip = nullptr;
    OverviewScanner* m_scanner = nullptr;
    RemeasureRunner* m_runner = nullptr;
    IndicationsFinder* m_finder = nullptr;
    IndicationsPanel* m_indications = nullptr;
    BookmarksPanel* m_bookmarks = nullptr;
    SharedBookmarks m_bookmarkList;
    BookmarkMarks m_bookmarkMarks;
    QLabel* m_status = nullptr;
    QLabel* m_caption = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_apply = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_recordedValues = nullptr;
    QPushButton* m_report = nullptr;
    QString m_path;
    recording::FrameRecordLayout m_layout;
    recording::RecordingHeader m_setup;
    bool m_scanPending = false;
    bool m_applyPending = false;
    int32_t m_framesPerSecond = 50;
    int32_t m_frameCount = 0;
    int32_t m_frameOneLevel[2] = {0, 0}; // each gate's threshold in frame 1
    std::shared_ptr<const OverviewSeries> m_recorded;
    std::shared_ptr<const RemeasuredSeries> m_remeasured;
    player::DraggedGates m_dragged;
    QString m_problem; // why the last apply did not run
};

} // namespace pelix::overview
