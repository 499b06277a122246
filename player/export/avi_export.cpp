#include "player/export/avi_export.h"

#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/progress_bar.h"
#include "platform/track_bar.h"
#include "platform/window_services.h"
#include "player/export/bitmap_file.h"
#include "player/playback/playback_controller.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

namespace pelix::player {

namespace {
const char* const kRecordingError = "AVI recording error, please exit the Player then try again.";
const char* const kSaveCaption = "Save as AVI";
const char* const kStopCaption = "Stop Record";
} // namespace

AviExport::AviExport(const PlayerControls& controls, PlayerSession& session, PlaybackController& playback,
                     QString appTitle, QObject* parent)
    : QObject(parent), m_c(controls), m_session(session), m_playback(playback),
      m_appTitle(std::move(appTitle)), m_avi(m_appTitle) {
    connect(m_c.cmdSaveAs, &QPushButton::clicked, this, &AviExport::cmdSaveAs_Click);
    m_playback.setRangeRecordedHandler([this] { stopRecording(); });
    m_playback.setVideoFrameShownHandler([this] { Timer1_Timer(); });
}

AviExport::~AviExport() = default;

QString AviExport::aviFileName(const QString& chosen) {
    if (chosen.endsWith(QLatin1String(".avi"), Qt::CaseSensitive)) return chosen;
    return chosen + QLatin1String(".avi");
}

QSize AviExport::captureSize() const {
    const int height = m_c.window->height() - m_c.Frame1->height() - 2 * m_c.cmdOpen->height() -
                       m_c.picResultLabel->height();
    return {m_c.window->width(), std::max(height, 0)};
}

void AviExport::cmdSaveAs_Click() {
    if (m_session.avi.recording) {
        m_playback.raise(PlaybackEvent::VideoStopped);
        return;
    }
    platform::SaveRequest request;
    request.title = QStringLiteral("Save AVI file");
    request.filter = QStringLiteral("AVI Files (*.avi)|*.avi");
    // Beside the recording the video shows.
    request.folder = QFileInfo(QFile::decodeName(m_session.recording->path().c_str())).absolutePath();
    const QString chosen = platform::getSaveFileName(m_c.window, request);
    if (chosen.isEmpty()) return;
    startRecording(aviFileName(chosen), kWindowFramesPerSecond);
}

bool AviExport::startRecording(const QString& name, int framesPerSecond) {
    if (!m_session.isOpen() || m_session.avi.recording || m_starting) return false;
    m_starting = true;
    const bool started = start(name, framesPerSecond);
    m_starting = false;
    return started;
}

bool AviExport::start(const QString& name, int framesPerSecond) {
    const auto refuse = [this] {
        cleanUpBitmap();
        platform::setTopmost(m_c.window, false);
        platform::showMessage(QString::fromLatin1(kRecordingError), platform::MessageIcon::Exclamation,
                              m_c.window, m_appTitle);
        return false;
    };
    // The video never replaces the recording it is made from.
    const QFileInfo target(name);
    if (target.exists() &&
        target.canonicalFilePath() ==
            QFileInfo(QString::fromStdString(m_session.recording->path())).canonicalFilePath())
        return refuse();
    if (target.exists()) QFile::remove(name);
    QCoreApplication::processEvents();

    // Picture1: black, the size of the capture area; its bitmap gives the video its format.
    m_capture = captureSize();
    m_bitmapFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pelix-avi-XXXXXX"));
    if (m_capture.isEmpty() || !m_bitmapFolder->isValid()) return refuse();
    m_bitmapPath = m_bitmapFolder->filePath(QStringLiteral("temp"));
    m_picture = QImage(m_capture, QImage::Format_RGB32);
    m_picture.fill(Qt::black);
    if (!SavePicture(m_picture, m_bitmapPath)) return refuse();

    m_outputName = name;
    if (!m_avi.OpenAviStream(m_bitmapPath, name, framesPerSecond)) return refuse();
    QCoreApplication::processEvents();

    // The pending events may have closed the recording.
    if (!m_session.isOpen() || !m_playback.raise(PlaybackEvent::VideoStarted)) {
        m_avi.CloseAviFile();
        QFile::remove(name);
        cleanUpBitmap();
        return false;
    }
    m_session.avi.recording = true;
    m_failed = false;
    m_captureIndex = 0;
    m_rangeFrames = m_session.avi.endFrame - m_session.avi.startFrame + 1;
    platform::setTopmost(m_c.window, true);
    m_session.CurrentFrame = m_session.avi.startFrame;
    m_c.Slider->setValue(m_session.avi.startFrame);
    m_c.cmdSaveAs->setText(QString::fromLatin1(kStopCaption));
    showProgress();
    return true;
}

void AviExport::Timer1_Timer() {
    if (!m_session.avi.recording) return;
    if (capture()) {
        ++m_captureIndex;
        showProgress();
        return;
    }
    // A video with a frame missing is no record of the range: stop at once.
    m_failed = true;
    m_playback.raise(PlaybackEvent::VideoStopped);
}

bool AviExport::capture() {
    return platform::captureWindowInto(m_c.window, m_picture) && SavePicture(m_picture, m_bitmapPath) &&
           m_avi.AddAviFrame(m_captureIndex, m_bitmapPath);
}

void AviExport::stopRecording() {
    m_c.Timer1->stop();
    m_avi.CloseAviFile();
    // A failed write has already deleted the file; a failed capture (the
    // bitmap could not be written) leaves a video with frames missing, which goes too.
    const QFileInfo written(m_outputName);
    if (m_failed || (written.exists() && written.size() == 0)) QFile::remove(m_outputName);
    cleanUpBitmap();
    m_session.avi.recording = false;
    m_c.cmdSaveAs->setText(QString::fromLatin1(kSaveCaption));
    if (m_c.prgAviExport) m_c.prgAviExport->setVisible(false);
    if (m_c.lblAviProgress) m_c.lblAviProgress->setVisible(false);
    platform::setTopmost(m_c.window, false);
    if (m_failed) {
        platform::showMessage(QString::fromLatin1(kRecordingError), platform::MessageIcon::Exclamation,
                              m_c.window, m_appTitle);
    } else if (m_captureIndex > 0 && QFileInfo::exists(m_outputName)) {
        const int32_t first = m_session.avi.startFrame;
        emit videoWritten(QFileInfo(m_outputName).absoluteFilePath(), first, first + m_captureIndex - 1);
    }
}

void AviExport::showProgress() {
    if (m_c.prgAviExport) {
        m_c.prgAviExport->setRange(0, std::max(m_rangeFrames, 1));
        m_c.prgAviExport->setValue(std::min(m_captureIndex, m_rangeFrames));
        m_c.prgAviExport->setVisible(true);
    }
    if (m_c.lblAviProgress) {
        m_c.lblAviProgress->setText(QStringLiteral("%1 / %2 frames").arg(m_captureIndex).arg(m_rangeFrames));
        m_c.lblAviProgress->setVisible(true);
    }
    emit progress(m_captureIndex, m_rangeFrames);
}

void AviExport::cleanUpBitmap() {
    m_bitmapFolder.reset();
    m_bitmapPath.clear();
}

} // namespace pelix::player
