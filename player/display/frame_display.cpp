#include "player/display/frame_display.h"

#include "core/geometry/twips.h"
#include "core/numbers/number_format.h"
#include "core/recording/open_recording.h"

#include <QLineEdit>
#include <QWidget>

#include <cstring>

namespace pelix::player {

using numbers::roundHalfEven;
using numbers::toInt32Saturated;
using recording::OpenRecording;
using recording::RecordingHeader;
using P = AscanProperty;

namespace {

QVariant int32List(const std::array<int32_t, recording::kTcgPoints>& values) {
    QList<qint32> list(values.begin(), values.end());
    return QVariant::fromValue(list);
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// The recording's setup as the control takes it, in the order the instrument
// hands it over. The frame's gain and the control's place on the screen go
// with it but change while the recording is open; they are written per frame.
std::vector<std::pair<AscanProperty, QVariant>> setupHandOver(const RecordingHeader& h,
                                                              const recording::DerivedSetup& d) {
    const recording::TCGPointTable& tcg = h.TCGPoints;
    std::vector<std::pair<AscanProperty, QVariant>> s;
    const auto add = [&s](AscanProperty p, auto value) { s.emplace_back(p, controlValue(p, value)); };
    add(P::PrbAngle, h.PrbAngle);
    add(P::ODiameter, h.ODiameter);
    add(P::Velocity, d.velocity);
    add(P::TrigThk, h.TrigThk);
    add(P::ProbeDelay, h.ProbeDelay);
    add(P::DisplayDelay, d.displayDelay);
    add(P::DisplayRange, d.displayRange);
    add(P::TrigColorLeg, h.TrigColorLeg);
    add(P::Unit, h.Units);
    add(P::EvalMode, h.EvalMode);
    add(P::TCGMode, h.TCGMode);
    add(P::DACCurveType, h.DACCurveType);
    add(P::Curve1Offset, h.CurveOffsets[1]);
    add(P::Curve2Offset, h.CurveOffsets[2]);
    add(P::Curve3Offset, h.CurveOffsets[3]);
    add(P::Curve4Offset, h.CurveOffsets[4]);
    add(P::Curve5Offset, h.CurveOffsets[5]);
    add(P::ulNumOfStoredPoints, tcg.ulNumOfStoredPoints);
    add(P::TCGDisplay, h.TCGDisplay);
    add(P::FilterSetup, h.FilterSetup);
    s.emplace_back(P::ulHardwareTOF_20ns, int32List(tcg.ulHardwareTOF_20ns));
    s.emplace_back(P::ulFinalGain_01dB, int32List(tcg.ulFinalGain_01dB));
    s.emplace_back(P::ulAmpAtRefGain_01PCT, int32List(tcg.ulAmpAtRefGain_01PCT));
    add(P::DGSBaseGain, h.DGSBaseGain);
    add(P::TCGCurveStatus, h.TCGCurveStatus);
    add(P::ttDisplayDelay, h.DisplayDelay_ns);
    add(P::ttDisplayRange, h.DisplayRange_um);
    add(P::ttVelocity, h.Velocity);
    s.emplace_back(P::ulRecordedGain_01dB, int32List(tcg.ulRecordedGain_01dB));
    s.emplace_back(P::ulRecordedAMP_01PCT, int32List(tcg.ulRecordedAMP_01PCT));
    add(P::DGSRefStatus, h.DGSRefStatus);
    add(P::DGSProbeNum, h.DGSProbeNum);
    add(P::DGSCurve, h.DGSCurve);
    add(P::DGSXtalFreq, h.DGSXtalFreq);
    add(P::DGSEffeDiam, h.DGSEffeDiam);
    add(P::DGSDelayVel, h.DGSDelayVel);
    add(P::DGSRefType, h.DGSRefType);
    add(P::DGSRefSize, h.DGSRefSize);
    add(P::DGSRefAtten, h.DGSRefAtten);
    add(P::DGSRefDist, h.DGSRefDist);
    add(P::DGSRefAmp, h.DGSRefAmp);
    add(P::DGSRefGain, h.DGSRefGain);
    add(P::DGSMode, h.DGSMode);
    add(P::NumOfDGSDrawPnts, h.NumOfDGSDrawPnts);
    add(P::DGSTestAtten, h.DGSTestAtten);
    add(P::DGSAmplCorr, h.DGSAmplCorr);
    add(P::Envelope, h.Envelope);
    add(P::BEA, h.BEA);
    add(P::BWGain, h.BWGain);
    add(P::GateTriggerB, h.GateBTrigger);
    add(P::CNDACRegs, h.CNDACRegs);
    add(P::JISBoldLine, h.JISBoldLine);
    // Without it a finished JIS family would stay undrawn outside DAC mode.
    add(P::JISDACMode, h.JISEnable & 1);
    return s;
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
    m_setupHandedOver = false;
    m_gainHandedOver.reset();
    m_setup.clear();
    if (m_recording) m_setup = setupHandOver(m_recording->header(), m_recording->derived());
}

QString FrameDisplay::controlText(const frame::ControlText& t) {
    const QString formatted = text(t.text);
    return t.separatorConverted ? m_port->convertDecToCom(formatted) : formatted;
}

void FrameDisplay::writePanel() {
    for (std::size_t row = 0; row < m_view.panel.size(); ++row) {
        const frame::PanelRowView& r = m_view.panel[row];
        if (r.hasTitle) m_port->setParamTitle(static_cast<int>(row), QString::fromLatin1(r.title));
        if (r.hasValue) m_port->setParamValue(static_cast<int>(row), controlText(r.value));
    }
}

void FrameDisplay::writeScale() {
    const frame::ScaleView& s = m_view.scale;
    m_port->set(P::msAscanStartLabel, controlText(s.msAscanStartLabel));
    m_port->set(P::msAscanStartWidth, controlText(s.msAscanStartWidth));
    m_port->write(P::fAscanDelay, s.fAscanDelay);
    m_port->write(P::fAscanRange, s.fAscanRange);
}

void FrameDisplay::refreshUnitRows() {
    if (!m_recording || !m_port) return;
    frame::PanelView rows;
    frame::describeUnitRows(m_recording->header(), m_recording->derived(), rows, m_view.scale);
    for (const frame::PanelRow row : {frame::PanelRow::Units, frame::PanelRow::Velocity}) {
        const frame::PanelRowView& r = rows[frame::indexOf(row)];
        m_port->setParamTitle(static_cast<int>(row), QString::fromLatin1(r.title));
        m_port->setParamValue(static_cast<int>(row), controlText(r.value));
    }
    writeScale();
    const frame::PanelRowView& rect = rows[frame::indexOf(frame::PanelRow::Rectification)];
    m_port->setParamTitle(static_cast<int>(frame::PanelRow::Rectification), QString::fromLatin1(rect.title));
    // An unknown rectification leaves the row's value as it was.
    if (rect.hasValue)
        m_port->setParamValue(static_cast<int>(frame::PanelRow::Rectification), text(rect.value.text));
}

void FrameDisplay::refreshPositionTitle(int32_t currentFrame) {
    if (!m_recording || !m_port) return;
    m_port->set(P::tiControlTitle, text(frame::positionTitle(currentFrame, m_recording->FrameCount(),
                                                             m_recording->timeIndex(currentFrame),
                                                             m_recording->TotalSeconds())));
}

void FrameDisplay::clearReadings() {
    m_readings.clear();
}

void FrameDisplay::refreshEntryBoxes(int32_t currentFrame) {
    if (m_targets.txtFrameIdx) m_targets.txtFrameIdx->setText(QString::number(currentFrame));
    if (m_targets.txtTimeIdx) m_targets.txtTimeIdx->setText(QString::number(m_view.timeIndex));
}

void FrameDisplay::writeGates() {
    const frame::GateView& g = m_view.gates;
    AscanPort& port = *m_port;
    port.setBool(P::ShowGateA, g.ShowGateA);
    port.setBool(P::ShowGateB, g.ShowGateB);
    port.write(P::fCaretOne, g.fCaretOne);
    port.write(P::fCaretTwo, g.fCaretTwo);
    port.write(P::fGateAStart, g.fGateAStart);
    port.write(P::fGateAWidth, g.fGateAWidth);
    port.write(P::fGateBStart, g.fGateBStart);
    port.write(P::fGateBWidth, g.fGateBWidth);
    port.write(P::iGateAThresh, g.iGateAThresh);
    port.write(P::iGateBThresh, g.iGateBThresh);
    port.setBool(P::DrawCaratOne, g.DrawCaratOne);
    port.setBool(P::DrawCaratTwo, g.DrawCaratTwo);
}

void FrameDisplay::writeReadings() {
    for (std::size_t i = 0; i < m_view.readings.size(); ++i) {
        const frame::ReadingView& r = m_view.readings[i];
        m_readings.setName(i, text(r.name));
        m_readings.setValue(i, text(r.value), r.held);
    }
}

void FrameDisplay::sendPointArray(std::span<const int16_t> points) {
    QList<qint16>& list = m_pointArrays[m_nextPointArray];
    m_nextPointArray ^= 1;
    list.resize(static_cast<qsizetype>(points.size()));
    std::memcpy(list.data(), points.data(), points.size_bytes());
    m_port->set(P::iPointArray, QVariant::fromValue(list));
}

void FrameDisplay::handOverSetup() {
    AscanPort& port = *m_port;
    if (!m_setupHandedOver) {
        for (const auto& [property, value] : m_setup)
            port.set(property, value);
        if (m_targets.ascanWidget) {
            // The control ignores gate drags whenever BEA is set; the user is told why on hovering.
            const QString note = gateDragNote(m_recording->header().BEA);
            if (m_targets.ascanWidget->toolTip() != note) m_targets.ascanWidget->setToolTip(note);
        }
        m_setupHandedOver = true;
    }
    if (m_gainHandedOver != m_view.frameGain) {
        port.write(P::Gain, m_view.frameGain);
        m_gainHandedOver = m_view.frameGain;
    }

    // Where the control sits on the screen, in twips; the control confines the
    // mouse with it while dragging. The window moves, so it goes with every frame.
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
    port.write(P::temp_left, toInt32Saturated(roundHalfEven(left)));
    port.write(P::temp_top, toInt32Saturated(roundHalfEven(top + 400.0)));
}

void FrameDisplay::commonTail() {
    handOverSetup();
    // The gates are let go while the control redraws: the playback controller,
    // which alone sets the gate-drag flags, brackets every frame shown.
    m_port->updateAscanGraph();
}

QString gateDragNote(int32_t bea) {
    // Any BEA switches dragging off in the control; BEA 1 is the mode that marks gate B by two upright lines.
    if (bea == 0) return {};
    if (bea == 1) return QStringLiteral("Gate dragging is off while gate B is marked by lines (BEA)");
    return QStringLiteral("Gate dragging is off while BEA is set");
}

bool FrameDisplay::ShowFrame(int32_t n) {
    if (!m_recording || !m_port) return false;
    frame::FrameViewOptions options;
    options.decimalPoint = m_readings.decimalPoint();
    const bool whole = frame::readFrameView(*m_recording, n, m_view, options);

    writeGates();
    writePanel();
    if (m_view.unitRows) writeScale();
    if (m_view.traceDecoded) {
        // An unknown rectification leaves the mode as it was.
        const recording::TraceDrawMode& mode = m_view.trace.mode;
        m_port->write(P::iAscanRectMode, mode.iAscanRectMode);
        m_port->write(P::iAscanDrawMode, mode.iAscanDrawMode);
        m_port->write(P::iNumPoints, mode.iNumPoints);
    }
    writeReadings();
    sendPointArray(m_view.pointArray());
    m_port->set(P::tiControlTitle, text(m_view.title));
    refreshEntryBoxes(n);
    commonTail();
    return whole;
}

} // namespace pelix::player
