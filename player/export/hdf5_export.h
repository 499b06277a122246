// Writing the marked range to an HDF5 file from the main window: chosen in the
// "Save as AVI" dialog by its file type, written in the background from a
// handle of its own on the recording (closing the recording does not disturb
// it), its progress on the export's bar and the result in the status line or,
// when it failed, in a message box.
#pragma once

#include "player/controls/player_controls.h"
#include "player/playback/player_session.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace pelix::player {

class Hdf5Export : public QObject {
    Q_OBJECT
  public:
    Hdf5Export(const PlayerControls& controls, PlayerSession& session, QString appTitle,
               QObject* parent = nullptr);
    // Stops an export under way; it leaves no file.
    ~Hdf5Export() override;

    // Starts writing the marked range (the whole recording when none is marked)
    // to `path`. False when it did not start (the user was told why).
    bool start(const QString& path);
    bool running() const { return m_worker.joinable(); }
    // Stops the export under way; nothing is written.
    void stop();
    // Waits for the export under way to end and reports it (tests).
    void wait();

  signals:
    void progress(int done, int total);
    // The frames first .. last are complete at `path`.
    void written(const QString& path, int first, int last);
    // The export ended without a file: `why` names the file and the reason (empty when stopped).
    void failed(const QString& why);

  private:
    struct Job;
    void poll();
    void finish();
    void showProgress(int done, int total);

    PlayerControls m_c;
    PlayerSession& m_session;
    QString m_appTitle;
    std::shared_ptr<Job> m_job;
    std::thread m_worker;
    QTimer m_poll;
};

} // namespace pelix::player
