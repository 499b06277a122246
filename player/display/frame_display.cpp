#include "player/display/frame_display.h"

#include "core/geometry/twips.h"
#include "core/numbers/number_format.h"
#include "core/recording/open_recording.h"

#include <QLineEdit>
#include <QWidget>

#include <algorithm>
#include <cstring>

namespace pelix::player {

using numbers::formatFixed;
using numbers::roundHalfEven;
using numbers::toInt32Saturated;
using recording::FrameHeader;
using recording::OpenRecording;
using recording::RecordingHeader;
using recording::SampleRead;

namespace {

constexpr std::size_t kTracePoints = 1600; // one record's trace, both halves of an RF frame

QVariant int32List(const std::array<int32_t, recording::kTcgPoints>& values) {
    QList<qint32> list(values.begin(), values.end());
    return QVariant::fromValue(list);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Why a drag of a gate does nothing: any BEA switches dragging off in the
// control, and BEA 1 is the mode that marks gate B by two upright lines.
QString gateDragNote(int32_t bea) {
    if (bea == 0) return {};
    if (bea == 1) return QStringLiteral("Gate dragging is off while gate B is marked by lines (BEA)");
    return QStringLiteral("Gate dragging is off while BEA is set");
}

} // namespace

FrameDisplay::FrameDisplay(const FrameDisplayTargets& targets)
    : FrameDisplay(targets, makeNamedAscanPort(targets.ascan)) {}

FrameDisplay::FrameDisplay(const FrameDisplayTargets& targets, std::unique_ptr<AscanPort> port)
    : m_targets(targets), m_port(std::move(port)), m_readings(targets.lblRdName, targets.lblRdValue) {
    for (auto& list : m_pointArrays)
        list.reserve(recording::kEnvelopePointCount);
}

FrameDisplay::~FrameDisplay() = default;

void FrameDisplay::setRecording(OpenRecording* recording) {
    m_recording = recording;
    if (!m_recording) return;
    m_units = frame::unitConstantsFor(m_recording->header().Units);
    // The curve point columns never change while the recording is open; built once, handed over every frame.
    const recording::TCGPointTable& tcg = m_recording->header().TCGPoints;
    m_tcgColumns = {int32List(tcg.ulHardwareTOF_20ns), int32List(tcg.ulFinalGain_01dB),
                    int32List(tcg.ulAmpAtRefGain_01PCT), int32List(tcg.ulRecordedGain_01dB),
                    int32List(tcg.ulRecordedAMP_01PCT)};
}

void FrameDisplay::setPanelRow(int row, const QString& title, const QString& value) {
    m_port->setParamTitle(row, title);
    m_port->setParamValue(row, value);
}

QString FrameDisplay::lengthText(float value, bool throughDecToCom) {
    const QString formatted = text(formatFixed(value, m_units.lengthDecimals));
    return throughDecToCom ? m_port->convertDecToCom(formatted) : formatted;
}

void FrameDisplay::refreshUnitRows() {
    if (!m_recording || !m_port) return;
    const RecordingHeader& setup = m_recording->header();
    const recording::DerivedSetup& d = m_recording->derived();
    m_units = frame::unitConstantsFor(setup.Units);

    setPanelRow(4, QStringLiteral("Units:"), QString::fromLatin1(m_units.unitsText));
    setPanelRow(1, QString::fromLatin1(m_units.velocityTitle),
                text(formatFixed(d.velocity, m_units.velocityDecimals)));
    // The screen spans 110 % of the recorded range, starting at the display delay.
    const double rightEdge = static_cast<double>(d.displayRange) * 1.1 + static_cast<double>(d.displayDelay);
    QString startText = text(formatFixed(d.displayDelay, m_units.lengthDecimals));
    QString endText = text(formatFixed(rightEdge, m_units.lengthDecimals));
    if (m_units.convertScaleTexts) {
        startText = m_port->convertDecToCom(startText);
        endText = m_port->convertDecToCom(endText);
    }
    m_port->set("msAscanStartLabel", startText);
    m_port->set("msAscanStartWidth", endText);
    m_port->set("fAscanDelay", d.displayDelay);
    m_port->set("fAscanRange", static_cast<float>(static_cast<double>(d.displayRange) * 1.1));
    m_port->setParamTitle(3, QStringLiteral("Recification:"));
    // An unknown rectification leaves the row's value as it was.
    const char* rect = frame::rectificationText(setup.Rectification);
    if (*rect) m_port->setParamValue(3, QString::fromLatin1(rect));
}

void FrameDisplay::refreshPositionTitle(int32_t currentFrame) {
    if (!m_recording || !m_port) return;
    m_port->set("tiControlTitle", text(frame::positionTitle(currentFrame, m_recording->FrameCount(),
                                                            m_recording->timeIndex(currentFrame),
                                                            m_recording->TotalSeconds())));
}

void FrameDisplay::clearReadings() {
    m_readings.clear();
}

void FrameDisplay::refreshEntryBoxes(int32_t currentFrame) {
    if (m_targets.txtFrameIdx) m_targets.txtFrameIdx->setText(QString::number(currentFrame));
    if (m_targets.txtTimeIdx)
        m_targets.txtTimeIdx->setText(QString::number(m_recording->timeIndex(currentFrame)));
}

void FrameDisplay::showFramePanel() {
    m_recording->readFrameHeader(m_frameHeader);
    m_shortRead = m_shortRead || m_recording->lastReadShort();
    m_panelFrame = recording::decodeFrameHeader(m_frameHeader);
    const FrameHeader& f = m_panelFrame;
    const RecordingHeader& setup = m_recording->header();
    m_frameGain = f.Gain_01dB;

    AscanPort& port = *m_port;
    port.setBool("ShowGateA", f.GateAOn != 0);
    port.setBool("ShowGateB", f.GateBOn != 0);
    port.setBool("DrawCaratOne", false);
    port.setBool("DrawCaratTwo", false);

    const float aStart = frame::toDisplayUnits(f.GateAStart_um, m_units);
    const float aWidth = frame::toDisplayUnits(f.GateAWidth_um, m_units);
    const float bStart = frame::toDisplayUnits(f.GateBStart_um, m_units);
    const float bWidth = frame::toDisplayUnits(f.GateBWidth_um, m_units);

    port.set("fCaretOne", frame::toDisplayUnits(frame::soundPathA(setup, f), m_units));
    port.set("fCaretTwo", frame::toDisplayUnits(frame::soundPathB(setup, f), m_units));
    const float bAbsolute =
        frame::absoluteGateBStart(setup, f, aStart, bStart, port.get("fCaretOne").toFloat());

    port.set("fGateAStart", aStart);
    port.set("fGateAWidth", aWidth);
    port.set("fGateBStart", bAbsolute);
    port.set("fGateBWidth", bWidth);
    const frame::GateThresholds thresholds =
        frame::gateThresholds(setup.Rectification, f.GateAThreshold, f.GateBThreshold);
    port.set("iGateAThresh", QVariant::fromValue<qint16>(thresholds.gateA));
    port.set("iGateBThresh", QVariant::fromValue<qint32>(thresholds.gateB));

    setPanelRow(2, QStringLiteral("Gain(dB):"), text(formatFixed(f.Gain_01dB / 10.0, 1)));

    // Rows of a gate that is off keep what the last frame with that gate on wrote.
    if (port.getBool("ShowGateA")) {
        const float caret = port.get("fCaretOne").toFloat();
        if (caret != 0.0f) port.setBool("DrawCaratOne", true);
        setPanelRow(5, QStringLiteral("Gate A Start:"), lengthText(aStart, true));
        setPanelRow(6, QStringLiteral("Gate A Width:"), lengthText(aWidth, true));
        setPanelRow(7, QStringLiteral("Gate A Threshold(%):"),
                    QString::number(port.get("iGateAThresh").toInt()));
        setPanelRow(8, QStringLiteral("SA:"), lengthText(caret, false));
        setPanelRow(9, QStringLiteral("Gate A Amplitude(%):"), QString::number(f.GateAAmplitude));
    }
    if (port.getBool("ShowGateB")) {
        const float caret = port.get("fCaretTwo").toFloat();
        if (caret != 0.0f) port.setBool("DrawCaratTwo", true);
        // The start as the instrument set it: relative to gate A when gate B is triggered.
        setPanelRow(10, QStringLiteral("Gate B Start:"), lengthText(bStart, true));
        setPanelRow(11, QStringLiteral("Gate B Width:"), lengthText(bWidth, true));
        setPanelRow(12, QStringLiteral("Gate B Threshold(%):"),
                    QString::number(port.get("iGateBThresh").toLongLong()));
        setPanelRow(13, QStringLiteral("SB:"), lengthText(caret, false));
        setPanelRow(14, QStringLiteral("Gate B Amplitude(%):"), QString::number(f.GateBAmplitude));
    }
}

void FrameDisplay::keepMeasuredRecord() {
    m_measuredHeader = m_frameHeader;
    m_measuredRaw = m_trace.AscanRaw;
}

SampleRead FrameDisplay::readSamples() {
    const SampleRead result = m_recording->readSampleBlock(m_trace);
    m_shortRead = m_shortRead || m_recording->lastReadShort();
    if (result != SampleRead::Decoded) return result; // an unknown rectification leaves the mode as it was
    m_port->set("iAscanRectMode", QVariant::fromValue<qint32>(m_trace.mode.iAscanRectMode));
    m_port->set("iAscanDrawMode", QVariant::fromValue<qint32>(m_trace.mode.iAscanDrawMode));
    m_port->set("iNumPoints", QVariant::fromValue<qint16>(m_trace.mode.iNumPoints));
    return result;
}

void FrameDisplay::sendPointArray(const int16_t* points, std::size_t count) {
    QList<qint16>& list = m_pointArrays[m_nextPointArray];
    m_nextPointArray ^= 1;
    list.resize(static_cast<qsizetype>(count));
    std::memcpy(list.data(), points, count * sizeof(int16_t));
    m_port->set("iPointArray", QVariant::fromValue(list));
}

void FrameDisplay::handOverSetup() {
    const RecordingHeader& h = m_recording->header();
    const recording::DerivedSetup& d = m_recording->derived();
    const recording::TCGPointTable& tcg = h.TCGPoints;
    AscanPort& port = *m_port;
    auto setLong = [&port](const char* name, int32_t v) { port.set(name, QVariant::fromValue<qint32>(v)); };

    setLong("PrbAngle", h.PrbAngle);
    setLong("ODiameter", h.ODiameter);
    port.set("Velocity", static_cast<double>(d.velocity));
    port.set("TrigThk", static_cast<double>(h.TrigThk));
    setLong("ProbeDelay", h.ProbeDelay);
    port.set("DisplayDelay", static_cast<double>(d.displayDelay));
    port.set("DisplayRange", static_cast<double>(d.displayRange));
    setLong("TrigColorLeg", h.TrigColorLeg);
    port.set("Unit", QVariant::fromValue<qint16>(h.Units));
    setLong("EvalMode", h.EvalMode);
    setLong("TCGMode", h.TCGMode);
    setLong("DACCurveType", h.DACCurveType);
    setLong("Curve1Offset", h.CurveOffsets[1]);
    setLong("Curve2Offset", h.CurveOffsets[2]);
    setLong("Curve3Offset", h.CurveOffsets[3]);
    setLong("Curve4Offset", h.CurveOffsets[4]);
    setLong("Curve5Offset", h.CurveOffsets[5]);
    setLong("ulNumOfStoredPoints", tcg.ulNumOfStoredPoints);
    setLong("TCGDisplay", h.TCGDisplay);
    setLong("FilterSetup", h.FilterSetup);
    port.set("ulHardwareTOF_20ns", m_tcgColumns[0]);
    port.set("ulFinalGain_01dB", m_tcgColumns[1]);
    port.set("ulAmpAtRefGain_01PCT", m_tcgColumns[2]);
    setLong("DGSBaseGain", h.DGSBaseGain);
    setLong("TCGCurveStatus", h.TCGCurveStatus);
    setLong("ttDisplayDelay", h.DisplayDelay_ns);
    port.set("ttDisplayRange", static_cast<double>(h.DisplayRange_um));
    port.set("ttVelocity", static_cast<double>(h.Velocity));
    port.set("ulRecordedGain_01dB", m_tcgColumns[3]);
    port.set("ulRecordedAMP_01PCT", m_tcgColumns[4]);
    setLong("DGSRefStatus", h.DGSRefStatus);
    setLong("DGSProbeNum", h.DGSProbeNum);
    setLong("DGSCurve", h.DGSCurve);
    setLong("DGSXtalFreq", h.DGSXtalFreq);
    setLong("DGSEffeDiam", h.DGSEffeDiam);
    setLong("DGSDelayVel", h.DGSDelayVel);
    setLong("DGSRefType", h.DGSRefType);
    setLong("DGSRefSize", h.DGSRefSize);
    setLong("DGSRefAtten", h.DGSRefAtten);
    setLong("DGSRefDist", h.DGSRefDist);
    setLong("DGSRefAmp", h.DGSRefAmp);
    setLong("DGSBaseGain", h.DGSBaseGain);
    setLong("DGSRefGain", h.DGSRefGain);
    setLong("DGSMode", h.DGSMode);
    setLong("NumOfDGSDrawPnts", h.NumOfDGSDrawPnts);
    setLong("DGSTestAtten", h.DGSTestAtten);
    setLong("DGSAmplCorr", h.DGSAmplCorr);
    setLong("Envelope", h.Envelope);
    setLong("BEA", h.BEA);
    if (m_targets.ascanWidget) {
        // The control ignores gate drags whenever BEA is set; the user is told why on hovering.
        const QString note = gateDragNote(h.BEA);
        if (m_targets.ascanWidget->toolTip() != note) m_targets.ascanWidget->setToolTip(note);
    }

    // Where the control sits on the screen, in twips; the control confines the mouse with it while dragging.
    double left = 0, top = 0;
    const QWidget* control = m_targets.ascanWidget;
    const QWidget* window = m_targets.window;
    if (m_targets.ascanOriginTwips) {
        const QPointF origin = m_targets.ascanOriginTwips();
        left += origin.x();
        top += origin.y();
    } else if (control) {
        const QPoint inWindow =
            window && window->isAncestorOf(control) ? control->mapTo(window, QPoint(0, 0)) : control->pos();
        left += inWindow.x() * geometry::kTwipsPerPixel;
        top += inWindow.y() * geometry::kTwipsPerPixel;
    }
    if (window) {
        left += window->x() * geometry::kTwipsPerPixel;
        top += window->y() * geometry::kTwipsPerPixel;
    }
    setLong("temp_left", toInt32Saturated(roundHalfEven(left)));
    setLong("temp_top", toInt32Saturated(roundHalfEven(top + 400.0)));
    setLong("BWGain", h.BWGain);
    setLong("GateTriggerB", h.GateBTrigger);
    setLong("Gain", m_frameGain);
    setLong("CNDACRegs", h.CNDACRegs);
    setLong("JISBoldLine", h.JISBoldLine);
    // Without it a finished JIS family would stay undrawn outside DAC mode.
    setLong("JISDACMode", h.JISEnable & 1);
}

void FrameDisplay::commonTail() {
    handOverSetup();
    // The gates are let go while the control redraws: the playback controller,
    // which alone sets the gate-drag flags, brackets every frame shown.
    m_port->updateAscanGraph();
}

bool FrameDisplay::ShowFrame(int32_t n) {
    if (!m_recording || !m_port) return false;
    const RecordingHeader& setup = m_recording->header();
    const float displayVelocity = m_recording->derived().velocity;
    m_shortRead = false;

    if (!setup.isEnvelope()) {
        m_recording->seek(m_recording->recordOffset(n));
        showFramePanel();
        refreshUnitRows();
        readSamples();
        m_ownTraceMissing = m_shortRead;
        m_readings.refreshNames(setup, m_panelFrame);
        m_readings.refreshRecordedValues(setup, m_panelFrame, displayVelocity);
        keepMeasuredRecord();
        sendPointArray(m_trace.AscanPoints.data(), m_trace.AscanPoints.size());
        refreshPositionTitle(n);
        refreshEntryBoxes(n);
    } else {
        // An envelope frame is a record pair: the first gives panel, readings and
        // the live trace, the second the envelope drawn behind it.
        m_recording->seek(m_recording->recordOffset(n));
        showFramePanel();
        readSamples();
        m_ownTraceMissing = m_shortRead;
        m_readings.refreshNames(setup, m_panelFrame);
        m_readings.refreshRecordedValues(setup, m_panelFrame, displayVelocity);
        keepMeasuredRecord();
        std::array<int16_t, kTracePoints> live;
        std::copy_n(m_trace.AscanPoints.begin(), kTracePoints, live.begin());
        refreshPositionTitle(n);
        refreshEntryBoxes(n);

        m_recording->seek(m_recording->recordOffset(n, true));
        m_recording->readFrameHeader(m_frameHeader);
        m_shortRead = m_shortRead || m_recording->lastReadShort();
        // A second record cut short by the end of the file is skipped like any
        // short read: the live trace then fills both halves, so everything on
        // screen belongs to the frame whose panel is shown.
        readSamples();
        std::copy(live.begin(), live.end(), m_trace.EnvelopePoints.begin());
        std::copy_n(m_trace.AscanPoints.begin(), kTracePoints, m_trace.EnvelopePoints.begin() + kTracePoints);
        sendPointArray(m_trace.EnvelopePoints.data(), m_trace.EnvelopePoints.size());
    }
    commonTail();
    return !m_shortRead;
}

} // namespace pelix::player
