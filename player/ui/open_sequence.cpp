#include "player/ui/open_sequence.h"

#include "core/recording/frame_header_scan.h"
#include "platform/common_dialog.h"
#include "platform/control_binding.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "platform/track_bar.h"
#include "platform/up_down.h"
#include "player/display/frame_display.h"
#include "player/playback/control_guard.h"
#include "player/playback/playback_controller.h"
#include "player/playback/speed_table.h"

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace pelix::player {

namespace {
// The control's enumeration values.
constexpr int kEdgeAndTics = 2; // GridType
constexpr int kAscanOn = 1;     // AscanSwitch
constexpr int kRangeOn = 1;     // RangeSwitch
} // namespace

OpenSequence::OpenSequence(const PlayerControls& controls, PlayerSession& session, FrameDisplay& display,
                           PlaybackController& playback, QString appTitle)
    : m_c(controls), m_session(session), m_display(display), m_playback(playback),
      m_appTitle(std::move(appTitle)) {
    QObject::connect(&m_flagScanner, &FlagScanner::finished, &m_flagScanner,
                     [this](recording::FlagIndex flags) { flagsFound(std::move(flags)); });
}

OpenSequence::~OpenSequence() = default;

OpenResult OpenSequence::cmdOpen_Click() {
    m_c.CommDlg->setFilter(QString::fromLatin1(kRecordingFilter));
    m_c.CommDlg->ShowOpen(m_c.window);
    // A cancelled dialog leaves the recording on screen open and playable.
    if (m_c.CommDlg->FileName().isEmpty()) return OpenResult::Cancelled;
    return openFile(m_c.CommDlg->FileName());
}

void OpenSequence::closeRecording() {
    m_flagScanner.cancel();
    m_display.setRecording(nullptr);
    m_session.recording.reset();
}

void OpenSequence::startFlagScan() {
    const recording::OpenRecording& rec = *m_session.recording;
    // A recording without flags has its (empty) index at once.
    if (rec.FlagCount() < 1) {
        m_session.recording->setFlags(recording::FlagIndex(rec.FlagCount()));
        return;
    }
    m_flagScanner.start(rec.file().duplicate(), recording::frameRecordLayout(rec), rec.FlagCount());
}

void OpenSequence::flagsFound(recording::FlagIndex flags) {
    if (!m_session.isOpen()) return;
    m_session.recording->setFlags(std::move(flags));
    m_playback.refreshFlagControls();
}

void OpenSequence::disableRecordingControls(const PlayerControls& c) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             c.cmdPlayStop, c.cmdGo, c.OptFrame, c.FrameUpDown, c.txtFrameIdx, c.OptTime, c.TimeUpDown,
             c.txtTimeIdx, c.OptFlag, c.FlagUpDown, c.txtFlagIdx, c.cmdSearch, c.CheckSearch, c.Slider,
             c.AVI_Select, c.cmdSaveAs, c.optStart, c.optEnd})
        w->setEnabled(false);
}

void OpenSequence::refuse(const std::string& reason) {
    // The recording under review stays open, at its frame, playing if it was.
    platform::showMessage(QString::fromStdString(reason), platform::MessageIcon::Exclamation, m_c.window);
}

OpenResult OpenSequence::openFile(const QString& path) {
    // The chosen file is checked before anything of the open recording is
    // closed, so a file that is refused costs the review nothing.
    recording::OpenOutcome outcome =
        recording::OpenRecording::open(platform::pathToBytes(path), recording::OpenRecording::FlagScan::Skip);
    switch (outcome.status) {
    case recording::OpenStatus::Opened:
        break;
    case recording::OpenStatus::NotCompatible:
        refuse(outcome.message);
        return OpenResult::Incompatible;
    case recording::OpenStatus::CannotOpen:
    case recording::OpenStatus::NotCorrect:
    case recording::OpenStatus::NoFrames:
        refuse(outcome.message);
        return OpenResult::Rejected;
    }
    closeRecording();
    // The next open dialog starts where this recording lies.
    m_c.CommDlg->setInitDir(QFileInfo(path).absolutePath());
    m_display.clearReadings();
    m_c.window->setWindowTitle(m_appTitle + QStringLiteral("  -  ") + QFileInfo(path).fileName());

    m_session.recording = std::move(outcome.recording);
    m_display.setRecording(m_session.recording.get());
    const recording::OpenRecording& rec = *m_session.recording;

    m_session.CurrentFrame = 1;
    m_session.RateSelect = rec.header().RateSelect;
    m_c.LblSpeed->setText(speedLabelText(rec.framesPerSecond()));
    m_c.txtFlagIdx->setText(rec.FlagCount() < 1 ? QStringLiteral("0") : QStringLiteral("1"));
    m_c.OptFlag->setText(QStringLiteral("Flag (%1)").arg(rec.FlagCount()));

    setUpSlider();
    // Normal speed; its change handling also runs when the selector stood there
    // already, so the timer takes the new recording's rate.
    if (m_c.SliderSpeed->value() == kNormalSpeedPosition)
        m_playback.SliderSpeed_Change();
    else
        m_c.SliderSpeed->setValue(kNormalSpeedPosition);
    setUpControl();
    startFlagScan();
    enableControls();

    guardedControlStep([&] {
        m_display.refreshPositionTitle(m_session.CurrentFrame);
        m_display.refreshUnitRows();
    });
    m_session.CurrentFrame = 1;
    m_playback.showFrame(m_session.CurrentFrame);
    m_playback.moveSlider();
    return OpenResult::Opened;
}

void OpenSequence::setUpSlider() {
    const int32_t frames = m_session.FrameCount();
    platform::TrackBar* slider = m_c.Slider;
    slider->setMinimum(1);
    slider->setMaximum(frames);
    slider->setValue(slider->minimum());
    const int tick = frames > 10 ? frames / 10 : 1;
    slider->setTickFrequency(tick);
    slider->setLargeChange(tick);
    m_c.lblStart->setText(QString::number(slider->minimum()));
    m_c.lblEnd->setText(QString::number(slider->maximum()));
}

void OpenSequence::setUpControl() {
    guardedControlStep([&] {
        AscanPort& port = m_display.port();
        port.setBool("ShowGateA", true);
        port.setBool("ShowGateB", true);
        port.set("iGridType", kEdgeAndTics);
        platform::callControl(m_c.Ascan, "AscanMode", {kAscanOn});
        platform::callControl(m_c.Ascan, "RangeMode", {kRangeOn});
    });
}

void OpenSequence::enableControls() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_c.CheckSearch, m_c.cmdPlayStop, m_c.cmdGo, m_c.OptFrame, m_c.OptTime, m_c.FrameUpDown,
             m_c.TimeUpDown, m_c.txtFrameIdx, m_c.txtTimeIdx, m_c.Slider, m_c.AVI_Select})
        w->setEnabled(true);
    m_playback.refreshFlagControls();
    m_c.cmdPlayStop->setFocus();
    guardedControlStep([&] { m_display.port().setBool("SearchSwitch", false); });
    m_c.CheckSearch->setChecked(false);
}

} // namespace pelix::player
