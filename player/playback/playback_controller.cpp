#include "player/playback/playback_controller.h"

#include "platform/track_bar.h"
#include "platform/up_down.h"
#include "player/display/frame_display.h"
#include "player/playback/control_guard.h"
#include "player/playback/speed_table.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>

#include <initializer_list>

namespace pelix::player {

PlaybackController::PlaybackController(const PlayerControls& controls, PlayerSession& session,
                                       FrameDisplay& display, QObject* parent)
    : QObject(parent), m_c(controls), m_session(session), m_display(display) {
    // A 4 ms step needs the precise timer; the coarse one rounds to 5 % slack.
    m_c.tmrPlay->setTimerType(Qt::PreciseTimer);
    connect(m_c.cmdPlayStop, &QPushButton::clicked, this, &PlaybackController::cmdPlayStop_Click);
    connect(m_c.tmrPlay, &QTimer::timeout, this, &PlaybackController::tmrPlay_Timer);
    connect(m_c.SliderSpeed, &platform::TrackBar::Change, this, &PlaybackController::SliderSpeed_Change);
    connect(m_c.Slider, &platform::TrackBar::Scroll, this, &PlaybackController::Slider_Scroll);
    connect(m_c.Slider, &platform::TrackBar::Change, this, &PlaybackController::Slider_Change);
}

bool PlaybackController::playing() const {
    return playback::PlaybackStateMachine::controlsIn(m_state.state()).timerRunning;
}

void PlaybackController::applyGateDrag() {
    const QVariant flag = QVariant::fromValue<qint32>(m_state.gateDragAllowed() ? 1 : 0);
    guardedControlStep([&] {
        m_display.port().set("gatea_move_flag", flag);
        m_display.port().set("gateb_move_flag", flag);
    });
}

bool PlaybackController::raise(playback::PlaybackEvent event) {
    const std::optional<playback::PlaybackTransition> t = m_state.handle(event);
    if (!t) return false;
    apply(*t);
    return true;
}

void PlaybackController::setNavigationEnabled(bool enabled) {
    m_c.cmdOpen->setEnabled(enabled);
    if (!m_session.isOpen()) return;
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_c.Slider, m_c.cmdGo, m_c.OptFrame, m_c.FrameUpDown,
                                         m_c.txtFrameIdx, m_c.OptTime, m_c.TimeUpDown, m_c.txtTimeIdx})
        w->setEnabled(enabled);
    refreshFlagControls();
    // An armed video range keeps the play button for the export.
    m_c.cmdPlayStop->setEnabled(enabled && !m_c.AVI_Select->isChecked());
}

void PlaybackController::refreshFlagControls() {
    // The flags are usable once their index is known (it is built in the background).
    const bool usable = m_session.isOpen() && m_session.recording->flagsKnown() &&
                        playback::PlaybackStateMachine::controlsIn(m_state.state()).navigationAvailable;
    for (QWidget* w : std::initializer_list<QWidget*>{m_c.OptFlag, m_c.FlagUpDown, m_c.txtFlagIdx})
        w->setEnabled(usable);
}

void PlaybackController::apply(const playback::PlaybackTransition& t) {
    if (t.changesState()) applyControls(t);
    applyGateDrag();
}

void PlaybackController::applyControls(const playback::PlaybackTransition& t) {
    const playback::ControlAvailability was = playback::PlaybackStateMachine::controlsIn(t.from);
    const playback::ControlAvailability now = playback::PlaybackStateMachine::controlsIn(t.to);
    const bool open = m_session.isOpen();

    if (t.clearSearch) m_c.CheckSearch->setChecked(false);
    m_c.CheckSearch->setEnabled(now.searchAvailable && open);
    m_c.cmdSearch->setEnabled(now.searchAvailable && open && m_c.CheckSearch->isChecked());
    m_c.AVI_Select->setEnabled(now.aviSelectAvailable && open);
    if (was.navigationAvailable != now.navigationAvailable) setNavigationEnabled(now.navigationAvailable);

    if (now.timerRunning && !was.timerRunning) {
        SliderSpeed_Change();
        m_c.tmrPlay->start();
        guardedControlStep([&] { m_display.refreshUnitRows(); });
    } else if (!now.timerRunning) {
        m_c.tmrPlay->stop();
    }
    m_c.cmdPlayStop->setText(now.pauseCaption ? QStringLiteral("Pause") : QStringLiteral("Play"));
    if (t.clearSearch) guardedControlStep([&] { m_display.port().setBool("SearchSwitch", false); });

    // The timer had already advanced past the frame on screen.
    if (t.stepBack && m_session.CurrentFrame > 1) --m_session.CurrentFrame;

    if (t.finishVideo) {
        m_c.AVI_Select->setChecked(false);
        m_c.cmdPlayStop->setEnabled(open);
        if (m_rangeRecorded) m_rangeRecorded();
    }
}

void PlaybackController::cmdPlayStop_Click() {
    if (playing()) {
        raise(playback::PlaybackEvent::Pause);
        return;
    }
    if (!m_session.isOpen()) return;
    if (m_session.CurrentFrame == m_session.FrameCount()) m_session.CurrentFrame = 1;
    raise(playback::PlaybackEvent::Play);
}

void PlaybackController::tmrPlay_Timer() {
    if (!m_session.isOpen()) {
        stopForNoRecording();
        return;
    }
    const int32_t lastFrame = m_session.avi.recording ? m_session.avi.endFrame : m_session.FrameCount();
    if (m_session.CurrentFrame > lastFrame) {
        raise(playback::PlaybackEvent::ReachedEnd);
        return;
    }
    raise(playback::PlaybackEvent::FrameDrawing);
    bool whole = true;
    guardedControlStep([&] { whole = m_display.ShowFrame(m_session.CurrentFrame); });
    // The frame on screen is the one the slider moves to: showing it a second
    // time from the slider's change handling would only cost time.
    m_stepMovingSlider = true;
    moveSlider();
    m_stepMovingSlider = false;
    raise(playback::PlaybackEvent::FrameShown);
    ++m_session.CurrentFrame;
    if (!whole)
        raise(playback::PlaybackEvent::ShortRead);
    else if (m_state.state() == playback::PlaybackState::RecordingVideo && m_videoFrameShown)
        m_videoFrameShown();
}

void PlaybackController::SliderSpeed_Change() {
    const auto speed = speedAt(m_c.SliderSpeed->value(), m_session.RateSelect);
    if (!speed) return;
    m_c.tmrPlay->setInterval(speed->intervalMs);
    m_c.LblSpeed->setText(speedLabelText(speed->framesPerSecond));
}

void PlaybackController::Slider_Scroll() {
    // Stopped by a drag is stopped all the same: search, AVI range and gate
    // dragging are available again, as after Pause.
    raise(playback::PlaybackEvent::SliderDragged);
}

void PlaybackController::Slider_Change() {
    m_session.CurrentFrame = m_c.Slider->value();
    if (m_c.AVI_Select->isEnabled() && m_c.AVI_Select->isChecked()) markAviRange(m_session.CurrentFrame);
    if (m_stepMovingSlider) return;
    showFrame(m_session.CurrentFrame);
}

void PlaybackController::markAviRange(int32_t position) {
    AviRange& range = m_session.avi;
    if (m_c.optStart->isChecked()) {
        range.startFrame = position;
        m_c.Slider->setSelStart(position);
        // A range never runs backwards: a start past the end drags the end along.
        if (range.endFrame < range.startFrame) range.endFrame = range.startFrame;
    } else {
        range.endFrame = position;
        if (range.endFrame < range.startFrame) {
            range.endFrame = range.startFrame;
            m_c.Slider->setValue(range.startFrame);
        }
    }
    m_c.Slider->setSelectRange(true);
    m_c.Slider->setSelLength(range.endFrame - range.startFrame);
}

void PlaybackController::moveSlider() {
    m_c.Slider->setValue(m_session.CurrentFrame);
}

void PlaybackController::stopForNoRecording() {
    raise(playback::PlaybackEvent::RecordingClosed);
}

bool PlaybackController::showFrame(int32_t n) {
    if (!m_session.isOpen() || !m_display.recording()) return true;
    raise(playback::PlaybackEvent::FrameDrawing);
    bool whole = true;
    guardedControlStep([&] { whole = m_display.ShowFrame(n); });
    raise(playback::PlaybackEvent::FrameShown);
    if (!whole && playing()) {
        raise(playback::PlaybackEvent::ShortRead);
        m_session.CurrentFrame = n; // the timer had not moved on from this frame
    }
    return whole;
}

} // namespace pelix::player
