// The re-measure of a run of frames with only what it reads: each frame's
// first record header and the samples its gates read, taken from large reads
// of consecutive frames on a file handle of its own. The FrameView a visitor
// sees is filled as far as a table of the readings needs: the setup, the frame
// number and time, both headers, the gates and the reading names. The samples
// (raw and traced), the panel rows, the recorded reading values and the title
// are left out (the window reads those with readFrameView).
//
// One FrameRemeasurer belongs to one thread: the calculation library keeps its
// state per thread, and the first run on a thread sets up its DGS state.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/evaluation/gate_evaluation.h"
#include "core/frame/frame_view.h"
#include "core/frame/remeasure_frames.h"
#include "core/recording/recording_file.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pelix::frame {

class FrameRemeasurer {
  public:
    FrameRemeasurer(const recording::OpenRecording& recording, const std::optional<DraggedGate>& gateA,
                    const std::optional<DraggedGate>& gateB, const RemeasureOptions& options = {});

    // Frames first..last (1-based, within the frame count) in order, each measured on its own.
    RemeasureOutcome run(int32_t first, int32_t last, const RemeasureVisitor& visit);
    // Why the calculation library could not be used, after a LibraryMissing run.
    const std::string& failure() const { return m_cal.failure(); }

  private:
    // Fills m_view from one frame's bytes (its records as the file holds them).
    void describe(int32_t frame, const uint8_t* records);

    const recording::OpenRecording& m_recording;
    recording::RecordingFile m_file;
    std::optional<DraggedGate> m_gateA, m_gateB;
    evaluation::CalReadings m_cal;
    evaluation::GateEvaluation m_evaluation;
    FrameView m_view;
    Remeasured m_result; // the frame's, handed to the visitor
    std::vector<uint8_t> m_block;
    RemeasureOptions m_options;
    bool m_dgsSetUp = false;
};

} // namespace pelix::frame
