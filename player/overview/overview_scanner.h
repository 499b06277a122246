// Computes a recording's overview on a thread of its own, so opening stays
// instant and playback never waits for it. The thread reads through its own
// handle of the file; the result arrives on the user-interface thread.
#pragma once

#include "core/overview/overview_series.h"
#include "platform/background_task.h"

#include <QObject>
#include <QString>

#include <memory>

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
    bool running() const { return m_task.running(); }

  signals:
    // The finished overview; null when the file could not be read.
    void finished(std::shared_ptr<const pelix::overview::OverviewSeries> series);

  private:
    platform::BackgroundTask m_task{this};
};

} // namespace pelix::overview
