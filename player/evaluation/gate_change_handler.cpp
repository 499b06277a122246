#include "player/evaluation/gate_change_handler.h"

#include "core/frame/gate_remeasure.h"
#include "core/recording/open_recording.h"
#include "platform/message_service.h"
#include "player/display/frame_display.h"

namespace pelix::player {

using P = AscanProperty;

namespace {

QString qtext(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void GateChangeHandler::Ascan_MouseUp() {
    m_lastDrag = {};
    const recording::OpenRecording* rec = m_display.recording();
    if (!rec) return;
    if (!m_cal.bind()) {
        // Without the calculation library (reported once) the recorded readings stay as they are.
        if (!m_failureReported)
            platform::showMessage(QString::fromStdString(m_cal.failure()),
                                  platform::MessageIcon::Exclamation);
        m_failureReported = true;
        return;
    }
    if (rec != m_measuredRecording) m_evaluation.clearGateData();
    m_measuredRecording = rec;
    AscanPort& port = m_display.port();

    // Where the user left the gates; whether they are shown is the frame's.
    const frame::FrameView& view = m_display.view();
    const evaluation::MovedGates gates{port.get(P::newGateAStart).toFloat(),
                                       port.get(P::newGateBStart).toFloat(),
                                       port.get(P::newGateAThresh).toInt(),
                                       port.get(P::newGateBThresh).toInt(),
                                       view.gates.ShowGateA,
                                       view.gates.ShowGateB};
    const std::optional<frame::Remeasured> result = frame::remeasureGates(view, gates, m_evaluation, m_cal);
    if (!result) return;
    m_lastDrag = draggedGates(view.gates, gates);
    // The window's copy of the frame header keeps the dragged thresholds until the next frame.
    m_display.measuredFrameHeader() = result->headerBytes;

    ReadingsPanel& readings = m_display.readings();
    for (std::size_t slot = 0; slot < result->readings.size(); ++slot)
        readings.setValue(slot, qtext(result->readings[slot].text), !result->readings[slot].current);
    for (std::size_t row = 0; row < result->rows.size(); ++row)
        if (result->rows[row].hasValue)
            port.setParamValue(static_cast<int>(row), qtext(result->rows[row].value.text));
    port.setBool(P::DrawCaratOne, result->DrawCaratOne);
    port.write(P::fCaretOne, result->fCaretOne);
    port.setBool(P::DrawCaratTwo, result->DrawCaratTwo);
    port.write(P::fCaretTwo, result->fCaretTwo);
    port.updateAscanGraph();
}

} // namespace pelix::player
