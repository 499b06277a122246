#include "player/bscan/bscan_scanner.h"

#include <new>

namespace pelix::bscan {

BscanScanner::BscanScanner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const BscanScan>>();
}

BscanScanner::~BscanScanner() {
    cancel();
}

void BscanScanner::cancel() {
    // The scan looks at the flag at every block it reads, so this wait is short.
    m_task.cancel();
    m_progress.reset();
    m_framesAskedFor = 0;
}

void BscanScanner::start(const BscanScanSource& source, const BscanRequest& request) {
    cancel();
    m_progress = std::make_shared<std::atomic<int64_t>>(0);
    const BscanRequest clamped = clampedRequest(request, source.source.layout.frameCount);
    m_framesAskedFor = int64_t{clamped.to} - clamped.from + 1;
    m_task.start(
        [source, clamped, progress = m_progress](const std::atomic<bool>& stop) {
            std::shared_ptr<const BscanScan> result;
            try {
                BscanResult cells = scanBscan(*source.file, source.source, clamped, &stop, progress.get());
                auto scan = std::make_shared<BscanScan>();
                scan->end = cells.end;
                scan->cutShortAt = cells.cutShortAt;
                auto grid = std::make_shared<const BscanGrid>(std::move(cells.grid));
                scan->gates = columnGateEdges(*source.file, source.source.layout, source.setup, *grid, &stop);
                scan->grid = std::move(grid);
                result = std::move(scan);
            } catch (const std::bad_alloc&) {
                // Cells that do not fit in memory leave the window without a picture; the player runs on.
            }
            return result;
        },
        [this](std::shared_ptr<const BscanScan> result) { emit finished(std::move(result)); });
}

} // namespace pelix::bscan
