// frmPlayer: the program's main window. It holds the named controls and wires
// them to the classes that do the work: the open sequence, playback, the
// quick-move jumps, the AVI range and the frame display.
#pragma once

#include "core/evaluation/gate_evaluation.h"
#include "core/playback/mark_steps.h"
#include "core/review/review_file.h"
#include "player/controls/player_controls.h"
#include "player/evaluation/dragged_gates.h"
#include "player/playback/player_session.h"
#include "player/ui/form_scaler.h"
#include "player/ui/open_sequence.h"
#include "player/ui/window_keys.h"

#include <QImage>
#include <QKeySequence>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QMessageBox;

namespace pelix::player {
class AviExport;
class Hdf5Export;
class AviRangeMarker;
class FrameDisplay;
class GateChangeHandler;
class KeyHelpOverlay;
class PlaybackController;
class QuickMove;
class ReviewSession;
class SearchController;
} // namespace pelix::player
namespace pelix::overview {
class OverviewWindow;
}
namespace pelix::bscan {
class BscanWindow;
}

// Opens and closes the overview tool window.
inline QKeySequence overviewShortcut() {
    return pelix::player::keyOf(pelix::player::WindowKey::Overview);
}
// Opens and closes the B-scan tool window.
inline QKeySequence bscanShortcut() {
    return pelix::player::keyOf(pelix::player::WindowKey::Bscan);
}

// Re-measures every frame with the gates where the last drag left them (the overview shows the result).
inline QKeySequence applyToAllFramesShortcut() {
    return pelix::player::keyOf(pelix::player::WindowKey::ApplyToAllFrames);
}

class frmPlayer : public QWidget {
    Q_OBJECT
  public:
    explicit frmPlayer(QWidget* parent = nullptr);
    ~frmPlayer() override;

    // "Pelix Player ( Ver1.0.0 )"
    const QString& AppTitle() const { return m_appTitle; }
    // Why the A-scan control could not be created; empty when it was.
    const QString& ascanError() const { return m_ascanError; }

    // Opens a recording without the dialog (command line, dropped file). A
    // refused file is reported and changes nothing.
    pelix::player::OpenResult openRecording(const QString& path);
    // True while the open recording's flag index is still being built in the background.
    bool findingFlags() const { return m_open->findingFlags(); }
    // Shows the window with the running player's layout and geometry, but never on
    // a screen: for drawing it headless (the command-line tool, the report).
    void showOffScreen();
    // Shows frame n the way the player jumps, by moving the position slider; a
    // frame the slider already stands on is shown again.
    void jumpToFrame(int32_t frame);

    const pelix::player::PlayerControls& controls() const { return m_c; }
    pelix::player::PlayerSession& session() { return m_session; }
    pelix::player::FrameDisplay& display() { return *m_display; }
    pelix::player::PlaybackController& playback() { return *m_playback; }
    pelix::player::AviExport& aviExport() { return *m_aviExport; }
    pelix::player::Hdf5Export& hdf5Export() { return *m_hdf5Export; }
    const pelix::player::FormScaler& scaler() const { return m_scaler; }
    pelix::player::SearchController& search() { return *m_search; }
    // The overview tool window; it follows the frame on screen and moves the slider when clicked.
    pelix::overview::OverviewWindow& overview() { return *m_overview; }
    // Shows the overview beside this window, or hides it when it is showing.
    void toggleOverview();
    // The B-scan tool window; it follows the frame on screen and shows the frame clicked in it.
    pelix::bscan::BscanWindow& bscan() { return *m_bscan; }
    // Shows the B-scan beside this window, or hides it when it is showing.
    void toggleBscan();
    // Re-measures every frame with the gates of the last drag; the overview shows it.
    void applyToAllFrames();

    // "Report…" from this window (Ctrl+R, the context menu): asks for the report with
    // what the overview's button gives, the flags as the window knows them.
    void requestReport();
    // The window's picture of the frame on screen, as `pelix render FILE N --window`
    // takes it, put on the clipboard. Nothing happens without a recording.
    void copyFramePicture();
    // That picture: the window without the help overlay or a status message.
    QImage framePicture();
    // The list of the window's keys over the window (F1).
    pelix::player::KeyHelpOverlay& keyHelp() { return *m_keyHelp; }

    // The review's bookmarks: kept for the next/previous bookmark keys, listed in the overview
    // window and marked on its strip and on the B-scan. Edits and deletes asked for in the
    // overview's list come back as bookmarkEditRequested/bookmarkDeleteRequested with the index
    // into this list.
    void showBookmarks(const std::vector<pelix::review::Bookmark>& marks);
    // Shows the next or previous mark of that kind from the frame on screen; at the end of
    // the marks the frame stays and the status line says so ("No next bookmark.").
    void stepToMark(pelix::playback::MarkKind kind, pelix::playback::StepDirection direction);

    // Gate evaluation on the shown frame (what a gate drag measures).
    pelix::evaluation::PointRange GetPointRange(int32_t start_um, int32_t width_um) const;
    const pelix::evaluation::GateDataArray& GateDataArray() const;
    // Leaves the gates as a completed drag at these values leaves them: the control's bars placed
    // there and the release run, so the re-measure, the panel, the carets and "Apply to all frames"
    // follow as after a mouse drag. A gate not given is let go as a new press lets it go; a gate
    // the shown frame hides is left out. Nothing happens where a drag could not be made (see
    // gateDragRefusal).
    void applyGatesAsDrag(const pelix::player::DraggedGates& gates);
    // Why the gates cannot be dragged (or typed) now; empty when they can.
    QString gateDragRefusal() const;
    // "Gates…": the gates typed in the recording's units, applied as a drag.
    void showGatesDialog();
    // "Search box…": the search box's limits typed in the recording's units and percent.
    void showSearchBoxDialog();
    // "Video range…": the first and last frame of the video typed.
    void showVideoRangeDialog();
    // Places the search box where `limits` put it, as a drag leaving those limits would; false
    // when they make no box on the A-scan.
    bool placeSearchBox(const pelix::search::SearchLimits& limits);

    // The gate-changed handler, bound to the A-scan control's MouseUp.
    Q_SLOT void Ascan_MouseUp();

    // Each recording opened has its review read, kept and its last session
    // restored. The program turns this on; the windows that draw for the
    // command line and the report leave it off, so they never write a review.
    void setKeepsReviews(bool on) { m_keepsReviews = on; }
    bool keepsReviews() const { return m_keepsReviews; }
    // The review of the recording on screen.
    pelix::player::ReviewSession& review() { return *m_review; }
    const pelix::player::ReviewSession& review() const { return *m_review; }
    // Whether opening a recording restores its last session (a setting of the
    // user's, on until turned off in the context menu).
    static bool restoresLastSession();
    static void setRestoresLastSession(bool on);
    // Where the window stands now, as the review keeps it.
    pelix::review::LastSession lastSession() const;

  public Q_SLOTS:
    // The bookmark dialog for the frame on screen (Ctrl+B); OK adds the bookmark.
    void addBookmarkHere();
    // The bookmark dialog for bookmark `index` of review().bookmarks(); OK keeps the new note.
    void editBookmarkAt(int index);
    // Asks, then deletes bookmark `index` of review().bookmarks().
    void deleteBookmarkAt(int index);
    // The inspection details dialog (Ctrl+I); OK keeps the details.
    void editInspection();

  Q_SIGNALS:
    void reportRequested(const QString& recording, const std::vector<int32_t>& flaggedFrames,
                         int32_t currentFrame, int32_t frameCount);
    // The user asked, in the overview's bookmarks list, to edit or delete bookmark `index` of
    // the list last given to showBookmarks.
    void bookmarkEditRequested(int index);
    void bookmarkDeleteRequested(int index);

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    void handleOpenResult(pelix::player::OpenResult result,
                          const std::optional<pelix::review::LastSession>& before);
    void addShortcuts();
    void connectOverview();
    void connectBscan();
    void connectReview();
    // The recording on screen replaced the one `before` describes (none before the first).
    void reviewRecordingOpened(const std::optional<pelix::review::LastSession>& before);
    void restoreLastSession(const pelix::review::LastSession& last);
    void restoreGates(const pelix::review::LastSession& last);
    void restoreSearchBox(const pelix::review::LastSession& last);
    void restoreToolWindows(const std::string& json);
    void tellAboutReview(const QString& text);
    // The bookmark `mark`, which stood at `index` when a dialog opened; -1 when it is gone.
    int bookmarkIndexOf(const pelix::review::Bookmark& mark, int index) const;
    void connectMarks();
    // What a mark key does: stepToMark with its kind and direction.
    std::function<void()> markStepAction(pelix::player::WindowKey id);
    // A frame asked for by a click in a tool window or by a mark key: playback stops, as when
    // the slider is dragged, and the slider moves there.
    void showRequestedFrame(int32_t frame);

    QString m_appTitle;
    QString m_ascanError;
    pelix::player::FormScaler m_scaler;
    pelix::player::PlayerControls m_c;
    pelix::player::PlayerSession m_session;
    std::unique_ptr<pelix::player::FrameDisplay> m_display;
    std::unique_ptr<pelix::player::GateChangeHandler> m_gateChange;
    pelix::player::PlaybackController* m_playback = nullptr;
    pelix::player::QuickMove* m_quickMove = nullptr;
    pelix::player::AviRangeMarker* m_aviRange = nullptr;
    pelix::player::AviExport* m_aviExport = nullptr;
    pelix::player::Hdf5Export* m_hdf5Export = nullptr;
    pelix::player::SearchController* m_search = nullptr;
    std::unique_ptr<pelix::player::OpenSequence> m_open;
    pelix::overview::OverviewWindow* m_overview = nullptr;
    pelix::bscan::BscanWindow* m_bscan = nullptr;
    pelix::player::KeyHelpOverlay* m_keyHelp = nullptr;
    pelix::player::ReviewSession* m_review = nullptr;
    bool m_keepsReviews = false;
    bool m_closing = false;
    // Counts the recordings opened: a drag belongs to the recording open when it was made.
    uint64_t m_opened = 0;
    uint64_t m_draggedIn = 0;
    QPointer<QMessageBox> m_reviewNotice;
    std::shared_ptr<const std::vector<pelix::review::Bookmark>> m_bookmarks;
};
