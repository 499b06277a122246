#include "player/bscan/bscan_scanner.h"

#include <QMetaObject>

#include <new>

namespace pelix::bscan {

BscanScanner::BscanScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const BscanScan>>();
}

BscanScanner::~BscanScanner() {
    cancel();
}

void BscanScanner::cancel() {
    ++m_generation;
    if (m_cancel) m_cancel->store(true);
    // The scan looks at the flag at every block it reads, so this wait is short.
    if (m_thread.joinable()) m_thread.join();
    m_cancel.reset();
    m_progress.reset();
    m_framesAskedFor = 0;
    m_done = true;
}

void BscanScanner::start(const BscanScanSource& source, const BscanRequest& request) {
    cancel();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    m_progress = std::make_shared<std::atomic<int64_t>>(0);
    const BscanRequest clamped = clampedRequest(request, source.source.layout.frameCount);
    m_framesAskedFor = int64_t{clamped.to} - clamped.from + 1;
    m_done = false;
    const quint64 generation = m_generation;
    m_thread = std::thread([this, source, clamped, stop = m_cancel, progress = m_progress, generation] {
        std::shared_ptr<const BscanScan> result;
        try {
            BscanResult cells = scanBscan(*source.file, source.source, clamped, stop.get(), progress.get());
            auto scan = std::make_shared<BscanScan>();
            scan->end = cells.end;
            scan->cutShortAt = cells.cutShortAt;
            auto grid = std::make_shared<const BscanGrid>(std::move(cells.grid));
            scan->gates =
                columnGateEdges(*source.file, source.source.layout, source.setup, *grid, stop.get());
            scan->grid = std::move(grid);
            result = std::move(scan);
        } catch (const std::bad_alloc&) {
            // Cells that do not fit in memory leave the window without a picture; the player runs on.
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

} // namespace pelix::bscan
