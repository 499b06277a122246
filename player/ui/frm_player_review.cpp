// The main window's side of the review: the review file read when a recording
// opens and kept when it closes, the bookmark and inspection dialogs, the last
// session taken from the window and put back, and what the user is told when
// a review cannot be applied or kept.
#include "player/ui/frm_player.h"

#include "platform/message_service.h"
#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/display/frame_display.h"
#include "player/evaluation/gate_change_handler.h"
#include "player/overview/overview_window.h"
#include "player/playback/avi_range_marker.h"
#include "player/playback/control_guard.h"
#include "player/playback/playback_controller.h"
#include "player/review/bookmark_dialog.h"
#include "player/review/inspection_dialog.h"
#include "player/review/review_session.h"
#include "player/ui/status_line.h"
#include "player/ui/tool_windows_state.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

using namespace pelix::player;
using pelix::review::LastSession;

namespace {

const char* kRestoreSetting = "review/restoreLastSession";

QSettings userSettings() {
    return QSettings(QStringLiteral("Pelix"), QStringLiteral("Pelix Player"));
}

// "Frame 57 at 1 s", as the Quick Move boxes count them.
QString frameAndTime(const PlayerSession& session, int64_t frame) {
    if (frame < 1 || frame > session.FrameCount())
        return QStringLiteral("Frame %1 (beyond the recording's last frame, %2)")
            .arg(frame)
            .arg(session.FrameCount());
    return QStringLiteral("Frame %1 at %2 s").arg(frame).arg(session.timeIndex(static_cast<int32_t>(frame)));
}

bool onSomeScreen(const QRect& geometry) {
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().intersects(geometry)) return true;
    return false;
}

} // namespace

bool frmPlayer::restoresLastSession() {
    return userSettings().value(QLatin1String(kRestoreSetting), true).toBool();
}

void frmPlayer::setRestoresLastSession(bool on) {
    QSettings settings = userSettings();
    settings.setValue(QLatin1String(kRestoreSetting), on);
}

void frmPlayer::connectReview() {
    m_review = new ReviewSession(this);
    connect(m_review, &ReviewSession::notice, this, &frmPlayer::tellAboutReview);
    // The overview's list, the strip, the B-scan and the mark keys show the review's bookmarks;
    // edits asked for in the list come back here.
    connect(m_review, &ReviewSession::bookmarksChanged, this,
            [this] { showBookmarks(m_review->bookmarks()); });
    connect(this, &frmPlayer::bookmarkEditRequested, this, &frmPlayer::editBookmarkAt);
    connect(this, &frmPlayer::bookmarkDeleteRequested, this, &frmPlayer::deleteBookmarkAt);
    // Found in the data folder once hashed: put back only while the user has not moved on.
    connect(m_review, &ReviewSession::lateReviewApplied, this, [this] {
        if (!restoresLastSession() || !m_session.isOpen() || !m_review->lastSession()) return;
        if (m_session.CurrentFrame != 1 || m_draggedIn == m_opened || m_c.AVI_Select->isChecked()) return;
        restoreLastSession(*m_review->lastSession());
    });
}

LastSession frmPlayer::lastSession() const {
    LastSession last;
    last.frame = m_session.CurrentFrame;
    if (m_draggedIn == m_opened) {
        last.gateA = m_gateChange->lastDrag().gateA;
        last.gateB = m_gateChange->lastDrag().gateB;
    }
    if (m_c.CheckSearch->isChecked()) {
        guardedControlStep([&] {
            AscanPort& port = m_display->port();
            last.searchBox = pelix::search::SearchLimits{
                port.get("SearchLowwidthRange").toDouble(), port.get("SearchUpwidthRange").toDouble(),
                port.get("SearchLowhightlimit").toDouble(), port.get("SearchUphightlimit").toDouble()};
        });
    }
    if (m_c.AVI_Select->isChecked())
        last.aviRange = pelix::review::AviRange{m_session.avi.startFrame, m_session.avi.endFrame};
    ToolWindowsState windows;
    if (m_overview->isVisible()) windows.overview = ToolWindowState{m_overview->geometry(), std::nullopt};
    if (m_bscan->isVisible()) {
        windows.bscan = ToolWindowState{m_bscan->geometry(), std::nullopt};
        const pelix::bscan::FrameSpan range = m_bscan->range();
        if (range.first >= 1 && (range.first != 1 || range.last != m_session.FrameCount()))
            windows.bscan->frames = std::make_pair(range.first, range.last);
    }
    last.windows = toolWindowsJson(windows);
    return last;
}

void frmPlayer::reviewRecordingOpened(const std::optional<LastSession>& before) {
    if (!m_keepsReviews) return;
    m_review->close(before);
    m_review->open(m_session.recording->path());
    if (restoresLastSession() && m_review->lastSession()) restoreLastSession(*m_review->lastSession());
}

void frmPlayer::restoreLastSession(const LastSession& last) {
    // The frame first: everything else put back belongs to the frame on screen.
    if (last.frame >= 1 && last.frame <= m_session.FrameCount())
        jumpToFrame(static_cast<int32_t>(last.frame));
    restoreGates(last);
    restoreSearchBox(last);
    if (last.aviRange && last.aviRange->start >= 1 && last.aviRange->end <= m_session.FrameCount())
        m_aviRange->selectRange(static_cast<int32_t>(last.aviRange->start),
                                static_cast<int32_t>(last.aviRange->end));
    restoreToolWindows(last.windows);
}

void frmPlayer::restoreGates(const LastSession& last) {
    // The gates go back as a completed drag at those values would place them, re-measured.
    if (last.gateA || last.gateB) applyGatesAsDrag(pelix::player::DraggedGates{last.gateA, last.gateB});
}

void frmPlayer::restoreSearchBox(const LastSession& last) {
    // The search box goes back where its limits say, as a drag leaving those limits would place it.
    if (!last.searchBox || !m_c.CheckSearch->isEnabled()) return;
    if (!m_c.CheckSearch->isChecked()) m_c.CheckSearch->click();
    if (!placeSearchBox(*last.searchBox))
        m_c.lblStatus->showMessage(QStringLiteral("The last session's search box is not on this A-scan"));
}

void frmPlayer::restoreToolWindows(const std::string& json) {
    const ToolWindowsState state = parseToolWindows(json);
    const auto place = [this](QWidget& window, const ToolWindowState& saved, auto placeBeside) {
        // A screen that is gone, or a smaller one, gets the window beside the main window instead.
        if (onSomeScreen(saved.geometry))
            window.setGeometry(
                QRect(saved.geometry.topLeft(), saved.geometry.size().expandedTo(window.minimumSize())));
        else
            placeBeside();
        window.show();
        window.raise();
    };
    if (state.overview) place(*m_overview, *state.overview, [this] { m_overview->placeBeside(*this); });
    if (state.bscan) {
        if (state.bscan->frames) m_bscan->showFrames(state.bscan->frames->first, state.bscan->frames->second);
        place(*m_bscan, *state.bscan, [this] { m_bscan->placeBeside(*this); });
    }
    // The keys go on working in the main window.
    if (state.overview || state.bscan) activateWindow();
}

void frmPlayer::tellAboutReview(const QString& text) {
    m_c.lblStatus->showMessage(text);
    // The window is going: a box that stays is the only way left to say it.
    if (m_closing || !isVisible()) {
        pelix::platform::showMessage(text, pelix::platform::MessageIcon::Exclamation, this);
        return;
    }
    if (m_reviewNotice) {
        m_reviewNotice->setText(text);
        m_reviewNotice->raise();
        return;
    }
    m_reviewNotice = new QMessageBox(QMessageBox::Warning, m_appTitle, text, QMessageBox::Ok, this);
    m_reviewNotice->setObjectName(QStringLiteral("msgReviewNotice"));
    m_reviewNotice->setWindowModality(Qt::NonModal);
    m_reviewNotice->setAttribute(Qt::WA_DeleteOnClose);
    m_reviewNotice->show();
}

void frmPlayer::addBookmarkHere() {
    if (!m_keepsReviews || !m_session.isOpen() || !m_review->isOpen()) return;
    // The mark is for the frame the user saw when asking for it.
    if (m_playback->playing()) m_playback->raise(pelix::playback::PlaybackEvent::Pause);
    const int64_t frame = m_session.CurrentFrame;
    const uint64_t opened = m_opened;
    auto* dialog =
        new BookmarkDialog(QStringLiteral("Add bookmark"), frameAndTime(m_session, frame), {}, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, frame, opened] {
        if (opened != m_opened) return; // another recording since
        m_review->addBookmark(frame, dialog->note().toStdString());
    });
    dialog->open();
}

int frmPlayer::bookmarkIndexOf(const pelix::review::Bookmark& mark, int index) const {
    const auto& marks = m_review->bookmarks();
    if (index >= 0 && static_cast<std::size_t>(index) < marks.size() &&
        marks[static_cast<std::size_t>(index)] == mark)
        return index;
    for (std::size_t i = 0; i < marks.size(); ++i)
        if (marks[i] == mark) return static_cast<int>(i);
    return -1;
}

void frmPlayer::editBookmarkAt(int index) {
    if (!m_keepsReviews || index < 0 || static_cast<std::size_t>(index) >= m_review->bookmarks().size())
        return;
    const pelix::review::Bookmark mark = m_review->bookmarks()[static_cast<std::size_t>(index)];
    const uint64_t opened = m_opened;
    auto* dialog = new BookmarkDialog(QStringLiteral("Edit bookmark"), frameAndTime(m_session, mark.frame),
                                      QString::fromStdString(mark.text), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, mark, index, opened] {
        const int now = opened == m_opened ? bookmarkIndexOf(mark, index) : -1;
        if (now >= 0 && dialog->noteChanged()) m_review->editBookmark(now, dialog->note().toStdString());
    });
    dialog->open();
}

void frmPlayer::deleteBookmarkAt(int index) {
    if (!m_keepsReviews || index < 0 || static_cast<std::size_t>(index) >= m_review->bookmarks().size())
        return;
    const pelix::review::Bookmark mark = m_review->bookmarks()[static_cast<std::size_t>(index)];
    const uint64_t opened = m_opened;
    QString note = QString::fromStdString(mark.text).simplified();
    if (note.size() > 80) note = note.left(79) + QChar(0x2026);
    auto* ask = new QMessageBox(QMessageBox::Question, QStringLiteral("Delete bookmark"),
                                QStringLiteral("Delete the bookmark at frame %1?").arg(mark.frame),
                                QMessageBox::Yes | QMessageBox::No, this);
    ask->setObjectName(QStringLiteral("msgDeleteBookmark"));
    ask->setInformativeText(note);
    ask->setDefaultButton(QMessageBox::No);
    ask->setAttribute(Qt::WA_DeleteOnClose);
    connect(ask, &QMessageBox::finished, this, [this, mark, index, opened](int answer) {
        if (answer != QMessageBox::Yes || opened != m_opened) return;
        if (const int now = bookmarkIndexOf(mark, index); now >= 0) m_review->deleteBookmark(now);
    });
    ask->open();
}

void frmPlayer::editInspection() {
    if (!m_keepsReviews || !m_session.isOpen() || !m_review->isOpen()) return;
    const uint64_t opened = m_opened;
    auto* dialog = new InspectionDialog(m_review->inspection(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->showRecording(m_review->recording());
    // The SHA-256 appears in the open dialog as soon as it is known.
    connect(m_review, &ReviewSession::identified, dialog,
            [this, dialog] { dialog->showRecording(m_review->recording()); });
    connect(dialog, &QDialog::accepted, this, [this, dialog, opened] {
        if (opened == m_opened) m_review->setInspection(dialog->details());
    });
    dialog->open();
}
