#include "player/export/hdf5_export.h"

#include "core/hdf5/recording_export.h"
#include "core/recording/open_recording.h"
#include "platform/background_priority.h"
#include "platform/message_service.h"
#include "platform/path_bytes.h"
#include "platform/progress_bar.h"

#include <QFileInfo>
#include <QLabel>

#include <algorithm>

namespace pelix::player {

// What the window and the background thread share.
struct Hdf5Export::Job {
    std::string recordingPath;
    std::string target;
    int32_t first = 1, last = 1;
    std::atomic<bool> stop{false};
    std::atomic<int64_t> done{0};
    std::atomic<int64_t> total{0};
    std::atomic<bool> ended{false};
    hdf5::ExportResult result; // read once `ended`
};

namespace {
const char* const kExportError = "HDF5 export error.";
// How often the window looks at the background export.
constexpr int kPollMilliseconds = 100;
} // namespace

Hdf5Export::Hdf5Export(const PlayerControls& controls, PlayerSession& session, QString appTitle,
                       QObject* parent)
    : QObject(parent), m_c(controls), m_session(session), m_appTitle(std::move(appTitle)) {
    m_poll.setInterval(kPollMilliseconds);
    connect(&m_poll, &QTimer::timeout, this, &Hdf5Export::poll);
}

Hdf5Export::~Hdf5Export() {
    if (m_job) m_job->stop = true;
    if (m_worker.joinable()) m_worker.join();
}

bool Hdf5Export::start(const QString& path) {
    const auto refuse = [&](const QString& why) {
        platform::showMessage(QString::fromLatin1(kExportError) + QStringLiteral("\n\n") + why,
                              platform::MessageIcon::Exclamation, m_c.window, m_appTitle);
        return false;
    };
    if (!m_session.isOpen()) return false;
    if (running()) return refuse(QStringLiteral("An HDF5 export is under way; wait for it to end."));

    auto job = std::make_shared<Job>();
    job->recordingPath = m_session.recording->path();
    job->target = platform::pathToBytes(path);
    const int32_t frames = m_session.FrameCount();
    const AviRange& range = m_session.avi;
    const bool marked =
        range.startFrame >= 1 && range.endFrame >= range.startFrame && range.endFrame <= frames;
    job->first = marked ? range.startFrame : 1;
    job->last = marked ? range.endFrame : frames;
    job->total = int64_t{job->last} - job->first + 1;
    m_job = job;
    m_worker = std::thread([job] {
        // The export's workers, started from here, inherit the priority: the window comes first.
        platform::lowerToBackgroundPriority();
        // A handle of its own: the window may close or change its recording meanwhile.
        const recording::OpenOutcome opened =
            recording::OpenRecording::open(job->recordingPath, recording::OpenRecording::FlagScan::Skip);
        if (!opened.recording) {
            job->result.error = job->recordingPath + ": " + opened.message + "; nothing written";
        } else {
            hdf5::ExportOptions options;
            options.first = job->first;
            options.last = job->last;
            options.stop = &job->stop;
            options.progress = [&job](int64_t done, int64_t) { job->done = done; };
            job->result = hdf5::exportRecording(*opened.recording, job->target, options);
        }
        job->ended = true;
    });
    showProgress(0, static_cast<int>(job->total));
    m_poll.start();
    return true;
}

void Hdf5Export::stop() {
    if (m_job) m_job->stop = true;
}

void Hdf5Export::wait() {
    if (m_worker.joinable()) m_worker.join();
    if (m_job) finish();
}

void Hdf5Export::poll() {
    if (!m_job) return;
    if (m_job->ended) {
        m_worker.join();
        finish();
        return;
    }
    showProgress(static_cast<int>(m_job->done), static_cast<int>(m_job->total));
}

void Hdf5Export::finish() {
    m_poll.stop();
    const std::shared_ptr<Job> job = std::move(m_job);
    if (m_c.prgAviExport) m_c.prgAviExport->setVisible(false);
    if (m_c.lblAviProgress) m_c.lblAviProgress->setVisible(false);
    switch (job->result.end) {
    case hdf5::ExportEnd::Written:
        emit written(QFileInfo(platform::pathFromBytes(job->target)).absoluteFilePath(), job->first,
                     job->last);
        return;
    case hdf5::ExportEnd::Stopped:
        emit failed(QString());
        return;
    case hdf5::ExportEnd::Failed:
        break;
    }
    const QString why = platform::pathFromBytes(job->result.error);
    emit failed(why);
    platform::showMessage(QString::fromLatin1(kExportError) + QStringLiteral("\n\n") + why,
                          platform::MessageIcon::Exclamation, m_c.window, m_appTitle);
}

void Hdf5Export::showProgress(int done, int total) {
    if (m_c.prgAviExport) {
        m_c.prgAviExport->setRange(0, std::max(total, 1));
        m_c.prgAviExport->setValue(std::min(done, total));
        m_c.prgAviExport->setVisible(true);
    }
    if (m_c.lblAviProgress) {
        m_c.lblAviProgress->setText(QStringLiteral("%1 / %2 frames").arg(done).arg(total));
        m_c.lblAviProgress->setVisible(true);
    }
    emit progress(done, total);
}

} // namespace pelix::player
