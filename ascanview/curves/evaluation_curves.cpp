// The control's evaluation-curve methods: each runs one drawing operation of
// the curve drawer over the control's properties and surface. A failed
// operation reports nothing to the host; what it drew stays.
#include "ascanview/curves/evaluation_curve_drawer.h"
#include "ascanview/interface/oro_ascan_ctl.h"

using namespace pelix::ascanview;

using pelix::ascanview::boundCalExports;
using pelix::ascanview::EvaluationCurveDrawer;
using pelix::ascanview::StraightDacSegment;

EvaluationCurveDrawer OroAscanCtl::curveDrawer() {
    return EvaluationCurveDrawer(m_props, m_drag, m_surface, m_curveState, boundCalExports());
}

void OroAscanCtl::UpdateEvaluationCurve() {
    curveDrawer().updateEvaluationCurve();
}
void OroAscanCtl::CVUpdateJISDACCurves() {
    curveDrawer().updateJisDacCurves();
}
void OroAscanCtl::UpdateTCGRefLine() {
    curveDrawer().updateTcgRefLine();
}
void OroAscanCtl::DrawTCGRefLine(qint32 slOffset0_1dB, qint32 ucLineThickness, double ucptrLabel) {
    curveDrawer().drawTcgRefLine(slOffset0_1dB, ucLineThickness, ucptrLabel);
}
void OroAscanCtl::UpdateStraightDAC() {
    curveDrawer().updateStraightDac();
}
void OroAscanCtl::DrawStraightDAC(qint32 slOffset0_1dB, qint32 ucLineThickness, const QString& ucptrLabel,
                                  qint32) {
    curveDrawer().drawStraightDac(slOffset0_1dB, ucLineThickness, ucptrLabel.toStdString());
}
void OroAscanCtl::UpdateCurvedDAC() {
    curveDrawer().updateCurvedDac();
}
void OroAscanCtl::DrawCurvedDAC(qint32 slOffset0_1dB, qint32 ucLineThickness, const QString& ucptrLabel) {
    curveDrawer().drawCurvedDac(slOffset0_1dB, ucLineThickness, ucptrLabel.toStdString());
}
QVariantList OroAscanCtl::DrawStraightDACSeg(const QVariantList& arguments) {
    if (arguments.size() != 15) return arguments;
    StraightDacSegment seg;
    seg.slEarlyTOF1ns = arguments[0].toInt();
    seg.ulEarlyCorrAmp0_1PSH = arguments[1].toDouble();
    seg.slLateTOF1ns = arguments[2].toInt();
    seg.ulLateCorrAmp0_1PSH = arguments[3].toDouble();
    seg.slDispStartTime5ns = arguments[4].toInt();
    seg.ulDispRangeTime5ns = arguments[5].toDouble();
    seg.slDispEndTime5ns = arguments[6].toDouble();
    seg.Color = static_cast<Rgb>(arguments[7].toLongLong()) & 0xFFFFFFU;
    seg.llGainRatio = arguments[8].toDouble();
    seg.ulNormalView = arguments[9].toDouble();
    seg.ucLineThickness = arguments[10].toInt();
    seg.ptrulFirstOnScreenCapture = arguments[11].toDouble();
    seg.ptrulCapturedEarlyAmp0_25pcntSH = arguments[12].toDouble();
    seg.ptrusEarlyXPixelForLabel = arguments[13].toDouble();
    seg.ptrusEarlyYPixelForLabel = arguments[14].toDouble();
    curveDrawer().drawStraightDacSeg(seg);
    QVariantList out = arguments;
    out[0] = seg.slEarlyTOF1ns;
    out[2] = seg.slLateTOF1ns;
    out[11] = seg.ptrulFirstOnScreenCapture;
    out[12] = seg.ptrulCapturedEarlyAmp0_25pcntSH;
    out[13] = seg.ptrusEarlyXPixelForLabel;
    out[14] = seg.ptrusEarlyYPixelForLabel;
    return out;
}
void OroAscanCtl::UpdateStraightCNDAC() {
    curveDrawer().updateStraightCnDac();
}
void OroAscanCtl::UpdateCurvedCNDAC() {
    curveDrawer().updateCurvedCnDac();
}
void OroAscanCtl::UpdateDGSCurves() {
    curveDrawer().updateDgsCurves();
}
void OroAscanCtl::DrawDGSCurves(qint32 slOffset0_1dB) {
    curveDrawer().drawDgsCurves(slOffset0_1dB);
}
