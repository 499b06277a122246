#include "player/overview/overview_scanner.h"

#include "platform/path_bytes.h"

#include <new>

namespace pelix::overview {

OverviewScanner::OverviewScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const OverviewSeries>>();
}

OverviewScanner::~OverviewScanner() {
    cancel();
}

void OverviewScanner::cancel() {
    // The scan looks at the flag every few hundred frames, so this wait is short.
    m_task.cancel();
}

void OverviewScanner::start(const QString& path, const recording::FrameRecordLayout& layout) {
    m_task.start(
        [file = platform::pathToBytes(path), layout](const std::atomic<bool>& stop) {
            std::shared_ptr<const OverviewSeries> result;
            recording::RecordingFile handle;
            std::string error;
            if (handle.open(file, error)) {
                try {
                    auto series = std::make_shared<OverviewSeries>(scanOverview(handle, layout, &stop));
                    if (series->complete()) result = std::move(series);
                } catch (const std::bad_alloc&) {
                    // A file claiming more frames than memory holds gets no overview, and the player runs on.
                }
            }
            return result;
        },
        [this](std::shared_ptr<const OverviewSeries> result) { emit finished(std::move(result)); });
}

} // namespace pelix::overview
