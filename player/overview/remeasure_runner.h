// "Apply to all frames": every frame of the recording re-measured with the
// gates where the user left them, without freezing the window. The measuring
// runs on worker threads (the calculation library keeps its readings and DGS
// state per thread, and each worker reads the recording through a handle of
// its own); the measured frames come back to the window's thread in chunks a
// few times a second, through the event loop, and only that thread touches the
// series. Cancelling stops the workers at the frame they are on; closing or
// replacing the recording abandons the run and waits for the workers to let go
// of it before anything they use is freed.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/overview/overview_series.h"
#include "player/evaluation/dragged_gates.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::overview {

// The overview's series with the moved gates' amplitudes re-measured.
struct RemeasuredSeries {
    enum class End {
        Done,
        Cancelled,      // the user stopped it: frames from stoppedAt on were not measured
        CutShort,       // the file ends inside frame stoppedAt: it and the frames after it have no amplitude
        LibraryMissing, // nothing could be measured (failure says why)
    };
    std::shared_ptr<const OverviewSeries> series;
    player::DraggedGates gates;
    End end = End::Done;
    int32_t stoppedAt = 0; // the first frame without a re-measured amplitude; 0 when every frame has one
    std::string failure;
    // Each frame's dB-to-reference reading of a moved gate as re-measured (NaN: none); empty for a gate not
    // moved or when the recording records no such reading.
    std::vector<float> dbToReferenceA, dbToReferenceB;

    const std::vector<float>& dbToReference(Gate gate) const {
        return gate == Gate::A ? dbToReferenceA : dbToReferenceB;
    }
};

class RemeasureRunner : public QObject {
    Q_OBJECT
  public:
    // How often the workers hand what they measured to the window (and the progress moves on).
    static constexpr int kSliceMs = 40;
    // 0 hands over every frame and lets the workers measure on only once the window has taken it:
    // one frame a turn of the event loop (tests that stop a run part way). Read when a run starts.
    void setSliceMs(int ms) { m_sliceMs = ms; }

    explicit RemeasureRunner(QObject* parent = nullptr);
    ~RemeasureRunner() override;

    // Re-measures every frame of the recording at `path` with `gates`, starting from `recorded` (the
    // gates not moved keep its amplitudes, and its flags stay). A run still going is abandoned.
    // False (and nothing runs) when the recording cannot be opened again; `error` says why.
    bool start(const QString& path, const player::DraggedGates& gates,
               std::shared_ptr<const OverviewSeries> recorded, std::string& error);
    // Stops the workers at the frame they are on and emits `finished`, before it returns, with what was
    // measured.
    void cancel();
    // Stops without a result (the recording was closed or replaced).
    void abandon();

    bool running() const { return m_job != nullptr; }
    int32_t measuredFrames() const { return m_next - 1; }
    int32_t frameCount() const { return m_series ? m_series->frameCount() : 0; }
    const player::DraggedGates& gates() const { return m_gates; }

  signals:
    void progress(int32_t measured, int32_t frameCount);
    void finished(std::shared_ptr<const pelix::overview::RemeasuredSeries> result);

  private:
    struct Job;
    // Takes what the workers handed over; ends the run once they are done.
    void takeMeasured();
    // Stops the workers and waits for them.
    void stopWorkers();
    void finish(RemeasuredSeries::End end, int32_t stoppedAt);
    void forget();

    std::unique_ptr<Job> m_job;
    player::DraggedGates m_gates;
    std::shared_ptr<OverviewSeries> m_series;
    std::shared_ptr<RemeasuredSeries> m_result;
    int32_t m_next = 1;
    int m_sliceMs = kSliceMs;
};

} // namespace pelix::overview
