// The search controls of the main window: CheckSearch shows or hides the
// control's search box, cmdSearch runs the search over the whole recording
// with the progress window up, lbSearchResult lists the matches and a click
// on one shows that frame, picResultLabel marks them under the slider.
//
// The search itself runs in the engine's worker threads; this class keeps the
// window alive meanwhile, taking the matches as they come in frame order and
// letting the window's events run every few milliseconds.
#pragma once

#include "core/search/search_limits.h"
#include "player/controls/player_controls.h"
#include "player/playback/player_session.h"

#include <QObject>
#include <QSizeF>

#include <functional>

namespace pelix::player {

class FrameDisplay;
class PlaybackController;
class ResultMarkers;
class SearchResults;
class frmProgress;

class SearchController : public QObject {
    Q_OBJECT
  public:
    // `stripTwips` and `scaleFactor` tell the result markers where the window's
    // layout has put the strip under the slider (see ResultMarkers).
    SearchController(const PlayerControls& controls, PlayerSession& session, FrameDisplay& display,
                     PlaybackController& playback, std::function<QSizeF()> stripTwips,
                     std::function<double()> scaleFactor, QObject* parent = nullptr);
    ~SearchController() override;

    void CheckSearch_Click();
    void cmdSearch_Click();
    void lbSearchResult_Click(int row);

    // Empties the list and the marker strip.
    void clearResults();
    // Stops a running search at its next step (the window is closing).
    void cancel();

    bool searching() const { return m_searching; }
    const SearchResults& results() const { return *m_results; }
    frmProgress& progressWindow() const { return *m_progress; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    search::SearchLimits readLimits();
    // The recording went away while the search ran: its results belong nowhere.
    bool abandoned() const;

    PlayerControls m_c;
    PlayerSession& m_session;
    FrameDisplay& m_display;
    PlaybackController& m_playback;
    SearchResults* m_results;
    ResultMarkers* m_markers;
    frmProgress* m_progress;
    bool m_searching = false;
    bool m_currentSetByMouse = false;
};

} // namespace pelix::player
