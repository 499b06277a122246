// The main window's side of the marks: the bookmarks it is given go to the
// overview and the B-scan, the overview's list asks for edits and deletes
// through it, and the mark keys walk from flag to flag, bookmark to bookmark,
// search match to search match and indication to indication.
#include "player/ui/frm_player.h"

#include "core/review/display_text.h"
#include "platform/track_bar.h"
#include "player/bscan/bscan_window.h"
#include "player/overview/indication_table.h"
#include "player/overview/indications_panel.h"
#include "player/overview/overview_window.h"
#include "player/playback/playback_controller.h"
#include "player/search/search_controller.h"
#include "player/search/search_results.h"
#include "player/ui/status_line.h"

#include <QShortcut>

using namespace pelix::player;
using pelix::playback::MarkKind;
using pelix::playback::StepDirection;

namespace {

// The status line has room for a short note after "Bookmark 3 of 12: ".
constexpr std::size_t kStatusNoteCharacters = 60;

// "Bookmark 3 of 12", "Search match 1 of 4".
QString placeText(MarkKind kind, std::size_t index, std::size_t count) {
    QString name = QString::fromLatin1(pelix::playback::markName(kind));
    name[0] = name[0].toUpper();
    return QStringLiteral("%1 %2 of %3").arg(name).arg(index + 1).arg(count);
}

} // namespace

void frmPlayer::connectMarks() {
    connect(m_overview, &pelix::overview::OverviewWindow::bookmarkEditRequested, this,
            &frmPlayer::bookmarkEditRequested);
    connect(m_overview, &pelix::overview::OverviewWindow::bookmarkDeleteRequested, this,
            &frmPlayer::bookmarkDeleteRequested);
    // The mark keys answer in the tool windows too: a reviewer reading the strip or the B-scan
    // walks the marks there (the main window binds its own from the key list).
    for (const WindowKeyEntry& k : windowKeys()) {
        if (!markStepAction(k.id)) continue;
        for (QWidget* tool : {static_cast<QWidget*>(m_overview), static_cast<QWidget*>(m_bscan)}) {
            auto* s = new QShortcut(k.key, tool);
            s->setAutoRepeat(k.repeats);
            connect(s, &QShortcut::activated, this, markStepAction(k.id));
        }
    }
}

void frmPlayer::showBookmarks(const std::vector<pelix::review::Bookmark>& marks) {
    // One copy, shared by both tool windows.
    m_bookmarks = std::make_shared<const std::vector<pelix::review::Bookmark>>(marks);
    m_overview->setBookmarks(m_bookmarks);
    m_bscan->setBookmarks(m_bookmarks);
}

void frmPlayer::showRequestedFrame(int32_t frame) {
    if (!m_session.isOpen() || !m_c.Slider->isEnabled()) return;
    m_playback->Slider_Scroll();
    m_c.Slider->setValue(frame);
}

std::function<void()> frmPlayer::markStepAction(WindowKey id) {
    struct MarkKey {
        WindowKey id;
        MarkKind kind;
        StepDirection direction;
    };
    static constexpr MarkKey kMarkKeys[] = {
        {WindowKey::NextFlag, MarkKind::Flag, StepDirection::Next},
        {WindowKey::PreviousFlag, MarkKind::Flag, StepDirection::Previous},
        {WindowKey::NextBookmark, MarkKind::Bookmark, StepDirection::Next},
        {WindowKey::PreviousBookmark, MarkKind::Bookmark, StepDirection::Previous},
        {WindowKey::NextSearchMatch, MarkKind::SearchMatch, StepDirection::Next},
        {WindowKey::PreviousSearchMatch, MarkKind::SearchMatch, StepDirection::Previous},
        {WindowKey::NextIndication, MarkKind::Indication, StepDirection::Next},
        {WindowKey::PreviousIndication, MarkKind::Indication, StepDirection::Previous},
    };
    for (const MarkKey& k : kMarkKeys)
        if (k.id == id) return [this, k] { stepToMark(k.kind, k.direction); };
    return {};
}

void frmPlayer::stepToMark(MarkKind kind, StepDirection direction) {
    if (!m_session.isOpen()) return;
    const int32_t current = m_session.CurrentFrame;
    const int32_t frameCount = m_session.FrameCount();
    std::optional<pelix::playback::MarkStep> step;
    std::size_t count = 0;
    QString note;
    switch (kind) {
    case MarkKind::Flag: {
        // The flags found so far, numbered as the Quick Move flag box numbers them.
        const pelix::recording::FlagIndex& index = m_session.recording->flags();
        std::vector<int32_t> frames;
        frames.reserve(static_cast<std::size_t>(index.found()));
        for (int32_t k = 1; k <= index.found(); ++k)
            frames.push_back(index.at(k));
        step = pelix::playback::stepToMark(std::span<const int32_t>(frames), current, frameCount, direction);
        count = frames.size();
        break;
    }
    case MarkKind::Bookmark: {
        std::vector<int64_t> frames;
        if (m_bookmarks) {
            frames.reserve(m_bookmarks->size());
            for (const pelix::review::Bookmark& b : *m_bookmarks)
                frames.push_back(b.frame);
        }
        step = pelix::playback::stepToMark(std::span<const int64_t>(frames), current, frameCount, direction);
        count = frames.size();
        if (step && !(*m_bookmarks)[step->index].text.empty())
            note = QString::fromStdString(
                pelix::review::shortenedForDisplay((*m_bookmarks)[step->index].text, kStatusNoteCharacters));
        break;
    }
    case MarkKind::SearchMatch: {
        const std::vector<int32_t>& frames = m_search->results().matches();
        step = pelix::playback::stepToMark(std::span<const int32_t>(frames), current, frameCount, direction);
        count = frames.size();
        break;
    }
    case MarkKind::Indication: {
        // What the overview's list shows now: its gate, level and drop.
        const auto& found = m_overview->indications().table().indications();
        std::vector<int32_t> peaks;
        peaks.reserve(found.size());
        for (const pelix::indications::Indication& i : found)
            peaks.push_back(i.peakFrame);
        step = pelix::playback::stepToMark(std::span<const int32_t>(peaks), current, frameCount, direction);
        count = peaks.size();
        break;
    }
    }
    if (!step) {
        QString text = QString::fromStdString(pelix::playback::noMarkText(kind, direction));
        // The indications are found by the overview, which reads the recording once it is open.
        if (kind == MarkKind::Indication && count == 0 && !m_overview->isVisible())
            text += QStringLiteral(" The overview lists them (%1).")
                        .arg(keyOf(WindowKey::Overview).toString(QKeySequence::NativeText));
        m_c.lblStatus->showMessage(text);
        return;
    }
    showRequestedFrame(step->frame);
    // A search holding the slider leaves the frame where it is, and the line says nothing.
    if (m_session.CurrentFrame != step->frame) return;
    QString text = placeText(kind, step->index, count);
    if (!note.isEmpty()) text += QStringLiteral(": ") + note;
    m_c.lblStatus->showMessage(text);
}
