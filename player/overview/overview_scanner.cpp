#include "player/overview/overview_scanner.h"

#include "platform/path_bytes.h"

#include <QMetaObject>

#include <new>

namespace pelix::overview {

OverviewScanner::OverviewScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const OverviewSeries>>();
}

OverviewScanner::~OverviewScanner() {
    cancel();
}

void OverviewScanner::cancel() {
    ++m_generation;
    if (m_cancel) m_cancel->store(true);
    // The scan looks at the flag every few hundred frames, so this wait is short.
    if (m_thread.joinable()) m_thread.join();
    m_cancel.reset();
    m_done = true;
}

void OverviewScanner::start(const QString& path, const recording::FrameRecordLayout& layout) {
    cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_done = false;
    const quint64 generation = m_generation;
    m_thread = std::thread([this, file = platform::pathToBytes(path), layout, stop = m_cancel, generation] {
        std::shared_ptr<const OverviewSeries> result;
        recording::RecordingFile handle;
        std::string error;
        if (handle.open(file, error)) {
            try {
                auto series = std::make_shared<OverviewSeries>(scanOverview(handle, layout, stop.get()));
                if (series->complete()) result = std::move(series);
            } catch (const std::bad_alloc&) {
                // A file claiming more frames than memory holds gets no overview, and the player runs on.
            }
        }
        if (stop->load()) return;
        // Queued to this object: dropped by Qt if the scanner is gone by then.
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation != m_generation) return;
                m_done = true;
                emit finished(result);
            },
            Qt::QueuedConnection);
    });
}

} // namespace pelix::overview
