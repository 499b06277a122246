// Scans a B-scan on a thread of its own, so the window never waits for it:
// the cells through its own handle of the recording, then the gate edges of
// each column's first frame. The result arrives on the user-interface thread;
// a newer scan, or cancel(), abandons the running one, whose result never
// arrives.
#pragma once

#include "core/bscan/bscan_scan.h"
#include "platform/background_task.h"
#include "player/bscan/bscan_gate_edges.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>

namespace pelix::bscan {

// A finished scan: the cells and how the scan ended, and each column's gates.
struct BscanScan {
    std::shared_ptr<const BscanGrid> grid;
    BscanEnd end = BscanEnd::Complete;
    int32_t cutShortAt = 0;
    std::vector<GateEdges> gates;
};

// What a scan reads: a handle of its own and how the recording is laid out.
struct BscanScanSource {
    std::shared_ptr<const recording::RecordingFile> file;
    BscanSource source;
    recording::RecordingHeader setup;
};

class BscanScanner : public QObject {
    Q_OBJECT
  public:
    explicit BscanScanner(QObject* parent = nullptr);
    ~BscanScanner() override;

    void start(const BscanScanSource& source, const BscanRequest& request);
    void cancel();
    bool running() const { return m_task.running(); }
    // The running scan's progress: frames read of the frames asked for.
    int64_t framesDone() const { return m_progress ? m_progress->load(std::memory_order_relaxed) : 0; }
    int64_t framesAskedFor() const { return m_framesAskedFor; }

  signals:
    // Null when the cells could not be held in memory.
    void finished(std::shared_ptr<const pelix::bscan::BscanScan> scan);

  private:
    std::shared_ptr<std::atomic<int64_t>> m_progress;
    int64_t m_framesAskedFor = 0;
    platform::BackgroundTask m_task{this};
};

} // namespace pelix::bscan
