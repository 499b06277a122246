// What the player does when the user has dragged a gate (the A-scan control's
// MouseUp): both gates are measured again on the shown frame, the calculation
// library turns the results into the seven readings, the panel rows of the
// shown gates and the echo carets follow, and the control redraws.
#pragma once

#include "core/evaluation/cal_readings.h"
#include "core/evaluation/gate_evaluation.h"
#include "player/evaluation/dragged_gates.h"

namespace pelix::player {

class FrameDisplay;

class GateChangeHandler {
  public:
    explicit GateChangeHandler(FrameDisplay& display) : m_display(display) {}

    // The gate-changed handler; does nothing without an open recording or the calculation library.
    void Ascan_MouseUp();

    evaluation::GateEvaluation& evaluation() { return m_evaluation; }
    const evaluation::GateEvaluation& evaluation() const { return m_evaluation; }
    // The gates the last re-measured drag moved from where its frame had them.
    const DraggedGates& lastDrag() const { return m_lastDrag; }

  private:
    FrameDisplay& m_display;
    evaluation::GateEvaluation m_evaluation;
    evaluation::CalReadings m_cal;
    const void* m_measuredRecording = nullptr; // whose results the hidden gates keep
    bool m_failureReported = false;
    DraggedGates m_lastDrag;
};

} // namespace pelix::player
