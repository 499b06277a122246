// Finds the indications of the series the overview shows, on a thread of its
// own: the amplitudes come from the series itself; the dB-to-reference rule
// takes the readings from the re-measure, or for a gate as recorded, from the
// frame headers through a handle of its own. A newer search supersedes an
// older one, whose result never arrives.
#pragma once

#include "core/indications/indication_finder.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/recording_header.h"
#include "platform/background_task.h"
#include "player/overview/remeasure_runner.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <memory>
#include <vector>

namespace pelix::overview {

struct IndicationSearch {
    Gate gate = Gate::A;
    indications::IndicationRules rules;
    std::shared_ptr<const OverviewSeries> series;       // what the strip shows
    std::shared_ptr<const RemeasuredSeries> remeasured; // set when that is a re-measure
    // For the dB-to-reference readings of a gate as recorded.
    QString path;
    recording::FrameRecordLayout layout;
    recording::RecordingHeader setup;
};

// The echo dynamic of the search's gate over every frame, as the search counts it.
indications::AmplitudeSeries echoDynamic(const IndicationSearch& search,
                                         const std::atomic<bool>* cancel = nullptr);

class IndicationsFinder : public QObject {
    Q_OBJECT
  public:
    explicit IndicationsFinder(QObject* parent = nullptr);
    ~IndicationsFinder() override;

    void start(IndicationSearch search);
    void cancel();
    bool running() const { return m_task.running(); }

  signals:
    void finished(std::shared_ptr<const std::vector<pelix::indications::Indication>> found);

  private:
    platform::BackgroundTask m_task{this};
};

} // namespace pelix::overview
