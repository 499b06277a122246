// "Apply to all frames": every frame of the recording re-measured with the
// gates where the user left them, without freezing the window. The work runs
// on the user-interface thread in slices of a few milliseconds between turns
// of the event loop, because the calculation library keeps one process-wide
// state (the setup record of the last SetHeaderData, the DGS curve the control
// draws) that the gate drag and the control's curves use too: a second thread
// would measure against whatever the window set last. The recording is read
// through a handle of its own.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/overview/overview_series.h"
#include "player/evaluation/dragged_gates.h"

#include <QObject>
#include <QString>
#include <QTimer>

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
    // The longest stretch of measuring between two turns of the event loop.
    static constexpr int kSliceMs = 15;
    // 0 measures one frame a turn (tests that stop a run part way).
    void setSliceMs(int ms) { m_sliceMs = ms; }

    explicit RemeasureRunner(QObject* parent = nullptr);
    ~RemeasureRunner() override;

    // Re-measures every frame of the recording at `path` with `gates`, starting from `recorded` (the
    // gates not moved keep its amplitudes, and its flags stay). A run still going is abandoned.
    // False (and nothing runs) when the recording cannot be opened again; `error` says why.
    bool start(const QString& path, const player::DraggedGates& gates,
               std::shared_ptr<const OverviewSeries> recorded, std::string& error);
    // Stops at the next slice's end; `finished` brings what was measured.
    void cancel();
    // Stops without a result (the recording was closed or replaced).
    void abandon();

    bool running() const { return m_timer.isActive(); }
    int32_t measuredFrames() const { return m_next - 1; }
    int32_t frameCount() const { return m_series ? m_series->frameCount() : 0; }
    const player::DraggedGates& gates() const { return m_gates; }

  signals:
    void progress(int32_t measured, int32_t frameCount);
    void finished(std::shared_ptr<const pelix::overview::RemeasuredSeries> result);

  private:
    void step();
    void finish(RemeasuredSeries::End end, int32_t stoppedAt);
    void forget();

    QTimer m_timer;
    std::unique_ptr<recording::OpenRecording> m_rec;
    evaluation::CalReadings m_cal;
    player::DraggedGates m_gates;
    std::shared_ptr<OverviewSeries> m_series;
    std::shared_ptr<RemeasuredSeries> m_result;
    std::optional<std::size_t> m_dbSlotA, m_dbSlotB;
    int32_t m_next = 1;
    int m_sliceMs = kSliceMs;
};

} // namespace pelix::overview
