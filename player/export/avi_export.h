// Recording the marked range of frames to an AVI file from the main window:
// cmdSaveAs asks for the name and starts, the playback step shows each frame
// of the range and the capture appends the window's picture of it, and every
// end of the recording (the range done, the stop button, a failed write, the
// window closing) goes through one stop path. A name ending in ".mp4" or
// ".mkv" records the same captures into H.264 instead (video_format.h): one
// capture, two encoders.
#pragma once

#include "core/files/output_file.h"
#include "core/files/signal_cleanup.h"
#include "platform/video/h264_file.h"
#include "player/controls/player_controls.h"
#include "player/export/avi_decs.h"
#include "player/playback/player_session.h"

#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>

#include <memory>

class QTemporaryDir;

namespace pelix::player {

class PlaybackController;

class AviExport : public QObject {
    Q_OBJECT
  public:
    AviExport(const PlayerControls& controls, PlayerSession& session, PlaybackController& playback,
              QString appTitle, QObject* parent = nullptr);
    ~AviExport() override;

    static constexpr int kWindowFramesPerSecond = 10;

    // The name the video is written to for the name the user chose: ".avi"
    // (exactly so, lower case) is appended unless the name already ends in it.
    static QString aviFileName(const QString& chosen);
    // The same for a name from the save dialog, which may also ask for MP4 or
    // Matroska: such a name is used as it stands.
    static QString videoFileName(const QString& chosen);

    // Start (asks for the name) or stop.
    void cmdSaveAs_Click();
    // Starts recording the marked range into `name`, used as given. The video
    // is written beside it and replaces an existing file only once complete;
    // the recording, a folder, a device, a FIFO or a socket is never replaced.
    // False when it did not start; the user has been told why.
    bool startRecording(const QString& name, int framesPerSecond);
    // The same for the name's bytes, exactly as given on a command line.
    bool startRecording(const std::string& path, int framesPerSecond);
    // No user at the window (the command line): failures are not shown in a
    // box but kept in failure(), and a range cut short is not kept.
    void setUnattended(bool unattended) { m_unattended = unattended; }
    // H.264 videos that give back every captured pixel (larger); AVI is never lossless.
    void setLossless(bool lossless) { m_lossless = lossless; }
    // One capture: the frame on screen, appended to the video.
    void Timer1_Timer();

    bool recording() const { return m_session.avi.recording; }
    // The last recording ended because a frame could not be written (nothing was written).
    bool failed() const { return m_failed; }
    // Why the last recording did not start or failed: the file's name and the reason.
    const std::string& failure() const { return m_failure; }
    // Of the recording under way, or of the last one.
    int32_t framesCaptured() const { return m_captureIndex; }
    int32_t framesInRange() const { return m_rangeFrames; }
    // The part of the window a capture takes: its full width, its height less the bottom control strip.
    QSize captureSize() const;

  signals:
    void progress(int captured, int total);
    // A video of frames first .. last is complete at `path`.
    void videoWritten(const QString& path, int first, int last);
    // The user chose an HDF5 file (.h5, .hdf5) in the dialog: the range goes there instead.
    void hdf5Chosen(const QString& path);

  private:
    bool start(const std::string& path, int framesPerSecond);
    bool refuse(const std::string& why);
    void tell(const std::string& why);
    void stopRecording();
    bool capture();
    bool startAvi(int framesPerSecond);
    bool startCompact(platform::video::CompactContainer container, int framesPerSecond);
    bool closeCompact();
    void showProgress();
    void cleanUpBitmap();

    PlayerControls m_c;
    PlayerSession& m_session;
    PlaybackController& m_playback;
    QString m_appTitle;
    AVIDecs m_avi;
    // While an MP4 or Matroska video is recorded: its encoder, fed from Picture1 directly.
    std::unique_ptr<platform::video::H264File> m_compact;
    bool m_lossless = false;
    files::OutputFile m_output;
    std::unique_ptr<QTemporaryDir> m_bitmapFolder;
    QString m_bitmapPath;
    // The bitmap and its folder go when a signal ends the program mid-recording.
    files::CleanupOnSignal m_bitmapCleanup, m_folderCleanup;
    std::string m_failure;
    bool m_unattended = false;
    QSize m_capture;
    QImage m_picture; // Picture1: the capture, cut to the capture area, kept for every frame
    int32_t m_captureIndex = 0;
    int32_t m_rangeFrames = 0;
    bool m_failed = false;
    bool m_starting = false; // pending window events run while a start is under way
};

} // namespace pelix::player
