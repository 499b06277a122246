#include "player/search/search_controller.h"

#include "core/search/frame_search.h"
#include "platform/progress_bar.h"
#include "platform/track_bar.h"
#include "player/display/frame_display.h"
#include "player/playback/control_guard.h"
#include "player/playback/playback_controller.h"
#include "player/search/frm_progress.h"
#include "player/search/result_markers.h"
#include "player/search/search_results.h"

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPushButton>

#include <chrono>
#include <utility>

namespace pelix::player {

namespace {
// How long the window waits for the workers between two rounds of its own
// events: well inside the 50 ms a user notices, and no busy loop.
constexpr std::chrono::milliseconds kPollInterval(15);
} // namespace

SearchController::SearchController(const PlayerControls& controls, PlayerSession& session,
                                   FrameDisplay& display, PlaybackController& playback,
                                   std::function<QSizeF()> stripTwips, std::function<double()> scaleFactor,
                                   QObject* parent)
    : QObject(parent), m_c(controls), m_session(session), m_display(display), m_playback(playback),
      m_results(new SearchResults(this)), m_progress(new frmProgress(controls.window)) {
    m_markers = new ResultMarkers(m_c.picResultLabel, *m_results, std::move(stripTwips),
                                  std::move(scaleFactor), this);
    m_c.lbSearchResult->setModel(m_results);
    m_c.lbSearchResult->setUniformItemSizes(true);
    m_c.lbSearchResult->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Unchecking by code (play start, open) runs the same handling as a click.
    connect(m_c.CheckSearch, &QCheckBox::toggled, this, &SearchController::CheckSearch_Click);
    connect(m_c.cmdSearch, &QPushButton::clicked, this, &SearchController::cmdSearch_Click);
    // A click shows the entry's frame, and so does moving through the list with the keys.
    connect(m_c.lbSearchResult->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                m_currentSetByMouse = QGuiApplication::mouseButtons() != Qt::NoButton;
                if (current.isValid()) lbSearchResult_Click(current.row());
            });
    connect(m_c.lbSearchResult, &QListView::clicked, this, [this](const QModelIndex& index) {
        // The press that made this entry current has shown its frame already.
        if (std::exchange(m_currentSetByMouse, false)) return;
        lbSearchResult_Click(index.row());
    });
}

SearchController::~SearchController() = default;

void SearchController::clearResults() {
    m_results->clear();
    m_c.lblSearchSummary->clear();
}

void SearchController::cancel() {
    m_progress->requestCancel();
}

void SearchController::CheckSearch_Click() {
    const bool checked = m_c.CheckSearch->isChecked();
    m_c.cmdSearch->setEnabled(checked && m_c.CheckSearch->isEnabled());
    clearResults();
    guardedControlStep([&] {
        m_display.port().setBool("SearchSwitch", checked);
        m_display.port().updateAscanGraph();
    });
}

search::SearchLimits SearchController::readLimits() {
    search::SearchLimits limits;
    guardedControlStep([&] {
        AscanPort& port = m_display.port();
        limits.SearchLowwidthRange = port.get("SearchLowwidthRange").toDouble();
        limits.SearchUpwidthRange = port.get("SearchUpwidthRange").toDouble();
        limits.SearchLowhightlimit = port.get("SearchLowhightlimit").toDouble();
        limits.SearchUphightlimit = port.get("SearchUphightlimit").toDouble();
    });
    return limits;
}

void SearchController::cmdSearch_Click() {
    if (m_searching || !m_session.isOpen()) return;
    if (!m_playback.raise(playback::PlaybackEvent::SearchStarted)) return;
    m_searching = true;

    clearResults();
    QCoreApplication::processEvents();
    // One box for the whole search: the box stays where it was when the search began.
    const search::SearchLimits limits = readLimits();
    const int32_t frameCount = m_session.FrameCount();
    m_results->begin(frameCount);
    m_progress->begin(frameCount);
    qApp->installEventFilter(this); // Escape in any of the program's windows

    int32_t framesSearched = 0;
    {
        search::FrameSearch frameSearch(*m_session.recording, limits);
        frameSearch.start();
        std::vector<int32_t> fresh;
        bool ended = false;
        while (!ended) {
            ended = frameSearch.waitFor(kPollInterval);
            fresh.clear();
            frameSearch.collect(fresh);
            if (!abandoned()) m_results->append(fresh, 0);
            framesSearched = frameSearch.framesTested();
            m_progress->showProgress(framesSearched, static_cast<int64_t>(m_results->matches().size()));
            if (!ended) QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (m_progress->cancelRequested() || abandoned()) frameSearch.cancel();
        }
    }

    qApp->removeEventFilter(this);
    m_progress->end();
    m_searching = false;
    if (abandoned()) return;
    m_results->finish(framesSearched);
    m_c.lblSearchSummary->setText(m_results->summary());
    m_playback.raise(playback::PlaybackEvent::SearchFinished);
}

bool SearchController::abandoned() const {
    // Closing the main window takes the recording away mid-search.
    return m_playback.state() != playback::PlaybackState::Searching;
}

void SearchController::lbSearchResult_Click(int row) {
    const int32_t frame = m_results->frameAt(row);
    if (frame < 1 || !m_session.isOpen() || frame > m_session.FrameCount()) return;
    m_session.CurrentFrame = frame;
    // The slider's change handling shows the frame when the position moves.
    if (m_c.Slider->value() != frame)
        m_playback.moveSlider();
    else
        m_playback.showFrame(frame);
}

bool SearchController::eventFilter(QObject* watched, QEvent* event) {
    if (m_searching && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        m_progress->requestCancel();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace pelix::player
