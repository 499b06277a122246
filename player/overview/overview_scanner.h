// Computes a recording's overview on a thread of its own, so opening stays
// instant and playback never waits for it. The thread reads through its own
// handle of the file; the result arrives on the user-interface thread.
#pragma once

#include "core/overview/overview_series.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <thread>

namespace pelix::overview {

class OverviewScanner : public QObject {
    Q_OBJECT
  public:
    explicit OverviewScanner(QObject* parent = nullptr);
    ~OverviewScanner() override;

    // Starts reading the recording at `path` laid out as `layout`; a scan still
    // running for an earlier recording is abandoned and its result never arrives.
    void start(const QString& path, const recording::FrameRecordLayout& layout);
    // Abandons the running scan, if any.
    void cancel();
    bool running() const { return m_thread.joinable() && !m_done; }

  signals:
    // The finished overview; null when the file could not be read.
    void finished(std::shared_ptr<const pelix::overview::OverviewSeries> series);

  private:
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_cancel;
    bool m_done = true;
    quint64 m_generation = 0;
};

} // namespace pelix::overview
