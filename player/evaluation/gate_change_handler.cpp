#include "player/evaluation/gate_change_handler.h"

#include "core/numbers/number_format.h"
#include "core/recording/open_recording.h"
#include "player/display/frame_display.h"

namespace pelix::player {

using numbers::formatFixed;
using numbers::shortestDecimal;

namespace {

void storeLittleEndian(recording::FrameHeaderBytes& bytes, std::size_t offset, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<uint8_t>(u >> (8 * i));
}

QString qtext(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void GateChangeHandler::Ascan_MouseUp() {
    const recording::OpenRecording* rec = m_display.recording();
    // Without the calculation library (reported once) the recorded readings stay as they are.
    if (!rec || !m_cal.bind()) return;
    if (rec != m_measuredRecording) m_evaluation.clearGateData();
    m_measuredRecording = rec;
    m_evaluation.setRecording(rec->header());
    AscanPort& port = m_display.port();

    // The dragged thresholds replace the recorded ones in the window's copy of the frame header.
    const evaluation::MovedGates gates{
        port.get("newGateAStart").toFloat(), port.get("newGateBStart").toFloat(),
        port.get("newGateAThresh").toInt(),  port.get("newGateBThresh").toInt(),
        port.getBool("ShowGateA"),           port.getBool("ShowGateB")};
    recording::FrameHeaderBytes& frameHeader = m_display.measuredFrameHeader();
    storeLittleEndian(frameHeader, recording::fh::GateAThreshold, gates.newGateAThresh);
    storeLittleEndian(frameHeader, recording::fh::GateBThreshold, gates.newGateBThresh);
    m_cal.SetHeaderData(rec->rawHeader().data(), frameHeader.data());

    m_evaluation.setFrame(recording::decodeFrameHeader(frameHeader), m_display.measuredRaw());
    m_evaluation.GetGateData(gates);
    m_cal.UpdateGateData(m_evaluation.gateData());

    ReadingsPanel& readings = m_display.readings();
    for (int32_t slot = 0; slot < 7; ++slot) {
        const CalReading r = m_cal.FormatCVRsltValue(slot);
        readings.setValue(static_cast<std::size_t>(slot), qtext(r.text), !r.current);
    }

    // A held reading shows as 0 in the panel; a current one as its number.
    struct PanelNumber {
        bool current;
        double value;
    };
    const auto numberOf = [this](int32_t slot) {
        const CalReading r = m_cal.FormatCVRsltValue(slot);
        return PanelNumber{r.current, r.current ? leadingNumber(r.text) : 0.0};
    };
    const int decimals = rec->header().isInch() ? 3 : 2;
    const auto lengthRow = [decimals](PanelNumber n) {
        return n.current ? qtext(formatFixed(n.value, decimals)) : QStringLiteral("0");
    };
    const auto plainRow = [](PanelNumber n) {
        return n.current ? qtext(shortestDecimal(n.value)) : QStringLiteral("0");
    };
    const PanelNumber soundPathA = numberOf(CalReadings::kSlotSA);
    const PanelNumber soundPathB = numberOf(CalReadings::kSlotSB);
    // Rows of a hidden gate keep what they showed.
    if (gates.ShowGateA) {
        port.setParamValue(5, qtext(formatFixed(gates.newGateAStart, decimals)));
        port.setParamValue(7, QString::number(gates.newGateAThresh));
        port.setParamValue(8, lengthRow(soundPathA));
        port.setParamValue(9, plainRow(numberOf(CalReadings::kSlotAmpA)));
    }
    if (gates.ShowGateB) {
        port.setParamValue(10, qtext(formatFixed(gates.newGateBStart, decimals)));
        port.setParamValue(12, QString::number(gates.newGateBThresh));
        port.setParamValue(13, lengthRow(soundPathB));
        port.setParamValue(14, plainRow(numberOf(CalReadings::kSlotAmpB)));
    }

    const CalCarets carets = m_cal.CVUpdatedCaret();
    port.setBool("DrawCaratOne", carets.aTriggered != 0);
    port.set("fCaretOne", static_cast<float>(carets.aTriggered != 0 ? soundPathA.value : 0.0));
    port.setBool("DrawCaratTwo", carets.bTriggered != 0);
    port.set("fCaretTwo", static_cast<float>(carets.bTriggered != 0 ? soundPathB.value : 0.0));
    port.updateAscanGraph();
}

} // namespace pelix::player
