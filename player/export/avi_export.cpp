#include "player/export/avi_export.h"

#include "core/hdf5/recording_export.h"
#include "platform/common_dialog.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "platform/progress_bar.h"
#include "platform/track_bar.h"
#include "platform/window_services.h"
#include "player/export/bitmap_file.h"
#include "player/export/output_device.h"
#include "player/export/video_format.h"
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

#include <cerrno>
#include <cstring>

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

QString AviExport::videoFileName(const QString& chosen) {
    if (videoFormatOf(platform::pathToBytes(chosen)) != VideoFormat::Avi) return chosen;
    return aviFileName(chosen);
}

QSize AviExport::captureSize() const {
    const int height = m_c.window->height() - m_c.Frame1->height() - 2 * m_c.cmdOpen->height() -
                       m_c.picResultLabel->height();
    return {m_c.window->width(), std::max(height, 0)};
}

void AviExport::cmdSaveAs_Click() {
    if (m_session.avi.recording) {
        m_playback.raise(playback::PlaybackEvent::VideoStopped);
        return;
    }
    platform::SaveRequest request;
    request.title = QStringLiteral("Save AVI file");
    // AVI first: the instrument's format stays what the dialog offers unless MP4 is picked.
    request.filter = QStringLiteral(
        "AVI Files (*.avi)|*.avi|MP4 Files (*.mp4)|*.mp4|HDF5 Files (*.h5;*.hdf5)|*.h5;*.hdf5");
    // Beside the recording the video shows.
    request.folder = QFileInfo(platform::pathFromBytes(m_session.recording->path())).absolutePath();
    const QString chosen = platform::getSaveFileName(m_c.window, request);
    if (chosen.isEmpty()) return;
    // The frames themselves, not the window's pictures: written without playing the range.
    if (hdf5::isHdf5Name(platform::pathToBytes(chosen))) {
        emit hdf5Chosen(chosen);
        return;
    }
    startRecording(videoFileName(chosen), kWindowFramesPerSecond);
}

bool AviExport::startRecording(const QString& name, int framesPerSecond) {
    return startRecording(platform::pathToBytes(name), framesPerSecond);
}

bool AviExport::startRecording(const std::string& path, int framesPerSecond) {
    if (!m_session.isOpen() || m_session.avi.recording || m_starting) return false;
    m_starting = true;
    const bool started = start(path, framesPerSecond);
    m_starting = false;
    return started;
}

void AviExport::tell(const std::string& why) {
    m_failure = why;
    if (m_unattended) return;
    platform::setTopmost(m_c.window, false);
    // The box keeps its own words; what went wrong with which file follows them.
    platform::showMessage(QString::fromLatin1(kRecordingError) + QStringLiteral("\n\n") +
                              platform::pathFromBytes(why),
                          platform::MessageIcon::Exclamation, m_c.window, m_appTitle);
}

bool AviExport::refuse(const std::string& why) {
    if (m_output.isOpen()) m_output.fail(why);
    m_avi.CloseAviFile();
    m_compact.reset();
    m_output.discard();
    cleanUpBitmap();
    platform::setTopmost(m_c.window, false);
    tell(m_output.failed() ? m_output.error() : why);
    return false;
}

bool AviExport::start(const std::string& path, int framesPerSecond) {
    m_failure.clear();
    // The video never replaces the recording it is made from, under any name or link.
    if (!m_output.open(path, m_session.recording->file().identity())) return refuse(m_output.error());
    QCoreApplication::processEvents();

    m_capture = captureSize();
    if (m_capture.isEmpty()) return refuse("the window has no picture to record");
    if (const auto container = compactContainer(videoFormatOf(path))) {
        if (!startCompact(*container, framesPerSecond)) return false;
    } else if (!startAvi(framesPerSecond)) {
        return false;
    }
    QCoreApplication::processEvents();

    // The pending events may have closed the recording.
    if (!m_session.isOpen() || !m_playback.raise(playback::PlaybackEvent::VideoStarted)) {
        m_avi.CloseAviFile();
        m_compact.reset();
        m_output.discard();
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

bool AviExport::startCompact(platform::video::CompactContainer container, int framesPerSecond) {
    // Picture1 goes to the encoder as it is: no bitmap file between them.
    m_picture = QImage(m_capture, QImage::Format_RGB32);
    m_picture.fill(Qt::black);
    platform::video::CompactVideoFormat format;
    format.container = container;
    format.width = m_capture.width();
    format.height = m_capture.height();
    format.framesPerSecond = std::clamp(framesPerSecond, AVIDecs::kSlowestRate, AVIDecs::kFastestRate);
    format.lossless = m_lossless;
    m_compact = std::make_unique<platform::video::H264File>();
    if (!m_compact->open(m_output.temporaryPath(), format))
        return refuse("cannot be written (" + m_compact->error() + ")");
    return true;
}

bool AviExport::closeCompact() {
    const bool completed = m_compact->close();
    if (!completed && !m_failed) m_output.fail("cannot be written (" + m_compact->error() + ")");
    m_compact.reset();
    return completed;
}

bool AviExport::startAvi(int framesPerSecond) {
    // Picture1: black, the size of the capture area; its bitmap gives the video its format.
    m_bitmapFolder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/pelix-avi-XXXXXX"));
    if (!m_bitmapFolder->isValid())
        return refuse("cannot be written (no folder for the capture in " +
                      platform::pathToBytes(QDir::tempPath()) + ")");
    m_bitmapPath = m_bitmapFolder->filePath(QStringLiteral("temp"));
    m_folderCleanup =
        files::CleanupOnSignal(platform::pathToBytes(m_bitmapFolder->path()), files::CleanupKind::Folder);
    m_bitmapCleanup = files::CleanupOnSignal(platform::pathToBytes(m_bitmapPath), files::CleanupKind::File);
    m_picture = QImage(m_capture, QImage::Format_RGB32);
    m_picture.fill(Qt::black);
    if (!SavePicture(m_picture, m_bitmapPath))
        return refuse("cannot be written (the capture cannot be saved in " +
                      platform::pathToBytes(m_bitmapFolder->path()) + ")");

    if (!m_avi.OpenAviStream(m_bitmapPath, m_output.temporaryPath(), framesPerSecond))
        return refuse("cannot be written (the video cannot be started)");
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
    m_playback.raise(playback::PlaybackEvent::VideoStopped);
}

bool AviExport::capture() {
    if (!platform::captureWindowInto(m_c.window, m_picture)) {
        m_output.fail("cannot be written (the window could not be captured)");
        return false;
    }
    if (m_compact) {
        if (m_compact->write(m_picture.constBits(), static_cast<std::size_t>(m_picture.bytesPerLine()),
                             static_cast<std::size_t>(m_picture.sizeInBytes())))
            return true;
        m_output.fail(std::string("cannot be written (frame ") + std::to_string(m_captureIndex + 1) +
                      " of the video: " + m_compact->error() + ")");
        return false;
    }
    if (!SavePicture(m_picture, m_bitmapPath)) {
        m_output.fail("cannot be written (the capture cannot be saved in " +
                      platform::pathToBytes(m_bitmapFolder->path()) + ")");
        return false;
    }
    if (!m_avi.AddAviFrame(m_captureIndex, m_bitmapPath)) {
        const int error = errno;
        m_output.fail(std::string("cannot be written (frame ") + std::to_string(m_captureIndex + 1) +
                      " of the video: " + std::strerror(error) + ")");
        return false;
    }
    return true;
}

void AviExport::stopRecording() {
    m_c.Timer1->stop();
    errno = 0;
    m_avi.CloseAviFile();
    // The trailer, written when the file is closed, can fail as a frame can.
    if (m_compact && !closeCompact()) {
        m_failed = true;
    } else if (!m_failed && m_avi.lastResult() != platform::video::AVIERR_OK) {
        const int error = errno;
        m_failed = true;
        m_output.fail(std::string("cannot be written (the end of the video: ") +
                      (error != 0 ? std::strerror(error) : "write failed") + ")");
    }
    // A video stopped before its first frame is no video; without a user to
    // see it, neither is one cut short by the end of the recording.
    const bool keep = !m_failed && m_captureIndex > 0 && (!m_unattended || m_captureIndex >= m_rangeFrames);
    if (keep && !m_output.commit()) m_failed = true;
    if (!keep) m_output.discard();
    cleanUpBitmap();
    m_session.avi.recording = false;
    m_c.cmdSaveAs->setText(QString::fromLatin1(kSaveCaption));
    if (m_c.prgAviExport) m_c.prgAviExport->setVisible(false);
    if (m_c.lblAviProgress) m_c.lblAviProgress->setVisible(false);
    platform::setTopmost(m_c.window, false);
    if (m_failed) {
        tell(m_output.failed() ? m_output.error()
                               : std::string("a frame could not be written; nothing written"));
    } else if (keep) {
        const int32_t first = m_session.avi.startFrame;
        emit videoWritten(QFileInfo(platform::pathFromBytes(m_output.target())).absoluteFilePath(), first,
                          first + m_captureIndex - 1);
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
    m_bitmapCleanup.release();
    m_folderCleanup.release();
    m_bitmapFolder.reset();
    m_bitmapPath.clear();
}

} // namespace pelix::player
