// Typed values for what otherwise only the mouse reaches: the gates (applied as
// a completed drag), the search box's limits and the video range.
#include "player/ui/frm_player.h"

#include "platform/control_binding.h"
#include "player/display/frame_display.h"
#include "player/evaluation/gate_entry.h"
#include "player/playback/avi_range_marker.h"
#include "player/playback/control_guard.h"
#include "player/playback/playback_controller.h"
#include "player/search/search_box_entry.h"
#include "player/ui/gates_dialog.h"
#include "player/ui/search_box_dialog.h"
#include "player/ui/status_line.h"
#include "player/ui/video_range_dialog.h"

#include <QCheckBox>

using namespace pelix::player;

namespace {

// A dialog over the window that goes away when closed; the window waits for nothing.
template <typename Dialog> void openOver(Dialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace

QString frmPlayer::gateDragRefusal() const {
    if (!m_session.isOpen()) return QStringLiteral("No recording is open");
    if (!m_ascanError.isEmpty()) return m_ascanError;
    if (const QString note = gateDragNote(m_session.recording->header().BEA); !note.isEmpty()) return note;
    if (!m_playback->gateDragAllowed())
        return QStringLiteral("The gates can be moved while playback, a search or a video is stopped");
    return {};
}

void frmPlayer::applyGatesAsDrag(const DraggedGates& gates) {
    if (!gateDragRefusal().isEmpty()) return;
    // A gate the frame on screen hides cannot be grabbed; the other one still can.
    const pelix::frame::GateView& shown = m_display->view().gates;
    const std::optional<pelix::frame::DraggedGate> a = shown.ShowGateA ? gates.gateA : std::nullopt;
    const std::optional<pelix::frame::DraggedGate> b = shown.ShowGateB ? gates.gateB : std::nullopt;
    if (!a && !b) return;
    // The control's release raises MouseUp, which runs Ascan_MouseUp as after a mouse drag.
    guardedControlStep([&] {
        pelix::platform::callControl(m_c.Ascan, "CompleteGateDrag",
                                     {QVariant(a.has_value()), QVariant(a ? a->start : 0.0F),
                                      QVariant::fromValue<qint32>(a ? a->threshold : 0),
                                      QVariant(b.has_value()), QVariant(b ? b->start : 0.0F),
                                      QVariant::fromValue<qint32>(b ? b->threshold : 0)});
    });
}

void frmPlayer::showGatesDialog() {
    if (const QString refusal = gateDragRefusal(); !refusal.isEmpty()) {
        m_c.lblStatus->showMessage(refusal);
        return;
    }
    GatesOnScreen now;
    bool read = false;
    guardedControlStep([&] {
        AscanPort& port = m_display->port();
        now.gateAStart = port.get("fGateAStart").toFloat();
        now.gateBStart = port.get("fGateBStart").toFloat();
        now.gateAThresh = port.get("iGateAThresh").toInt();
        now.gateBThresh = port.get("iGateBThresh").toInt();
        now.displayDelay = port.get("fAscanDelay").toFloat();
        now.displayRange = port.get("fAscanRange").toFloat();
        read = true;
    });
    if (!read) return;
    auto* dialog = new GatesDialog(GateEntry(m_display->view(), now), this);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // Confirmed unchanged, the gates stay where they are and the readings as they were.
        if (dialog->result().changed) applyGatesAsDrag(dialog->result().gates);
    });
    openOver(dialog);
}

bool frmPlayer::placeSearchBox(const pelix::search::SearchLimits& limits) {
    bool placed = false;
    guardedControlStep([&] {
        const QVariant done =
            pelix::platform::callControl(m_c.Ascan, "PlaceSearchRange",
                                         {limits.SearchLowwidthRange, limits.SearchUpwidthRange,
                                          limits.SearchLowhightlimit, limits.SearchUphightlimit});
        placed = done.toBool();
    });
    return placed;
}

void frmPlayer::showSearchBoxDialog() {
    if (!m_session.isOpen()) return;
    if (!m_c.CheckSearch->isEnabled()) {
        m_c.lblStatus->showMessage(
            QStringLiteral("The search box can be set while playback and a video are stopped"));
        return;
    }
    // The box is typed where it can be seen.
    if (!m_c.CheckSearch->isChecked()) m_c.CheckSearch->click();
    pelix::search::SearchLimits now;
    float delay = 0.0F, range = 0.0F;
    bool read = false;
    guardedControlStep([&] {
        AscanPort& port = m_display->port();
        now.SearchLowwidthRange = port.get("SearchLowwidthRange").toDouble();
        now.SearchUpwidthRange = port.get("SearchUpwidthRange").toDouble();
        now.SearchLowhightlimit = port.get("SearchLowhightlimit").toDouble();
        now.SearchUphightlimit = port.get("SearchUphightlimit").toDouble();
        delay = port.get("fAscanDelay").toFloat();
        range = port.get("fAscanRange").toFloat();
        read = true;
    });
    if (!read) return;
    const pelix::recording::RecordingHeader& setup = m_session.recording->header();
    const TypedUnits units = TypedUnits::of(setup.Units, m_session.recording->derived().velocity);
    auto* dialog =
        new SearchBoxDialog(SearchBoxEntry(units, now, delay, range), setup.Rectification == 0, this);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const SearchBoxEntryResult& r = dialog->result();
        if (!r.changed) return;
        if (!placeSearchBox(r.limits))
            m_c.lblStatus->showMessage(QStringLiteral("These limits make no search box on the A-scan"));
    });
    openOver(dialog);
}

void frmPlayer::showVideoRangeDialog() {
    if (!m_session.isOpen()) return;
    if (!m_c.AVI_Select->isChecked()) {
        if (!m_c.AVI_Select->isEnabled()) {
            m_c.lblStatus->showMessage(
                QStringLiteral("The video range can be set while playback is stopped"));
            return;
        }
        // Typing the range arms it, as ticking the box does.
        m_c.AVI_Select->click();
    }
    auto* dialog =
        new VideoRangeDialog(m_session.avi.startFrame, m_session.avi.endFrame, m_session.FrameCount(), this);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // The recording may have been closed meanwhile; the range is only kept while it is armed.
        if (!m_session.isOpen() || !m_c.AVI_Select->isChecked() || m_session.avi.recording ||
            dialog->last() > m_session.FrameCount())
            return;
        m_aviRange->selectRange(dialog->first(), dialog->last());
    });
    openOver(dialog);
}
