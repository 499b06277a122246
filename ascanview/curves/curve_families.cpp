// Which curves a redraw shows: the dispatch by evaluation mode and the
// families, each drawing its offset curves first and its reference curve last.
#include "ascanview/curves/evaluation_curve_drawer.h"

#include "ascanview/render/label_text.h"
#include "layout/evaluation_mode.h"

#include <array>

namespace pelix::ascanview {

namespace {

constexpr std::int32_t kReferenceThickness = 15;
constexpr std::int32_t kOffsetThickness = 1;
// TCGCurveStatus while the operator is still recording reference points.
constexpr std::int32_t kRecordingPoints = 1;
// The JIS standard set: -12, -6, +6, +12 and +18 dB.
constexpr std::array<std::int32_t, 5> kJisStandardOffsets{-120, -60, 60, 120, 180};

std::string labelOf(std::int32_t offset) {
    return formatCurveLabel(offset).toStdString();
}

} // namespace

EvaluationCurveDrawer::EvaluationCurveDrawer(ControlProperties& props, GateDragState& drag,
                                             DrawingSurface& surface, CurveState& state,
                                             const CalExports& cal)
    : m_props(props), m_drag(drag), m_surface(surface), m_state(state), m_cal(cal) {}

bool EvaluationCurveDrawer::updateEvaluationCurve() {
    switch (layout::evaluationFamily(m_props.EvalMode)) {
    case layout::EvaluationFamily::DacOrTcg:
        if (m_props.iAscanRectMode != 0) return true; // no DAC or TCG over an RF trace
        if (m_props.TCGMode == 2) return m_props.DACCurveType == 1 ? updateCurvedDac() : updateStraightDac();
        return updateTcgRefLine();
    case layout::EvaluationFamily::Dgs:
        return updateDgsCurves();
    case layout::EvaluationFamily::JisDac:
        return updateJisDacCurves();
    case layout::EvaluationFamily::CnDac: {
        if ((m_props.CNDACRegs & 3) != 1) return true;
        const std::int32_t shape = m_props.CNDACRegs & 24;
        if (shape == 8) return updateCurvedCnDac();
        if (shape == 0) return updateStraightCnDac();
        return true;
    }
    case layout::EvaluationFamily::None:
        break;
    }
    return true;
}

bool EvaluationCurveDrawer::updateStraightDac() {
    if (m_props.TCGCurveStatus != kRecordingPoints) {
        for (const std::int32_t offset :
             {m_props.Curve1Offset, m_props.Curve2Offset, m_props.Curve3Offset, m_props.Curve4Offset}) {
            if (offset != 0 && !drawStraightDac(offset, kOffsetThickness, labelOf(offset))) return false;
        }
    }
    return drawStraightDac(0, kReferenceThickness, "");
}

bool EvaluationCurveDrawer::updateCurvedDac() {
    if (m_props.TCGCurveStatus != kRecordingPoints) {
        for (const std::int32_t offset :
             {m_props.Curve1Offset, m_props.Curve2Offset, m_props.Curve3Offset, m_props.Curve4Offset}) {
            if (offset != 0 && !drawCurvedDac(offset, kOffsetThickness, labelOf(offset))) return false;
        }
    }
    return drawCurvedDac(0, kReferenceThickness, "");
}

bool EvaluationCurveDrawer::updateJisDacCurves() {
    const std::array<std::int32_t, 5> offsets{m_props.Curve1Offset, m_props.Curve2Offset,
                                              m_props.Curve3Offset, m_props.Curve4Offset,
                                              m_props.Curve5Offset};
    const bool standard = offsets == kJisStandardOffsets;
    // The bold line follows the curve the readings refer to: 1 shifts them
    // -6 dB (curve 2), 2 shifts them -12 dB (curve 1), anything else keeps the
    // reference curve.
    const std::int32_t bold = standard ? (m_props.JISBoldLine & 3) : 0;
    std::array<std::int32_t, 5> thickness{kOffsetThickness, kOffsetThickness, kOffsetThickness,
                                          kOffsetThickness, kOffsetThickness};
    std::int32_t referenceThickness = kOffsetThickness;
    if (bold == 1)
        thickness[1] = kReferenceThickness;
    else if (bold == 2)
        thickness[0] = kReferenceThickness;
    else
        referenceThickness = kReferenceThickness;

    for (std::size_t k = 0; k < offsets.size(); ++k) {
        if (offsets[k] == 0) continue;
        static constexpr const char* kStandardLabels[5] = {"L", "M", "", "", ""};
        const std::string label = standard ? std::string(kStandardLabels[k]) : labelOf(offsets[k]);
        if (!drawStraightDac(offsets[k], thickness[k], label)) return false;
    }
    return drawStraightDac(0, referenceThickness, standard ? "H" : "");
}

bool EvaluationCurveDrawer::updateStraightCnDac() {
    if (!drawStraightDac(m_props.Curve1Offset, kOffsetThickness, "RL")) return false;
    if (!drawStraightDac(m_props.Curve2Offset, kOffsetThickness, "SL")) return false;
    if (!drawStraightDac(m_props.Curve3Offset, kOffsetThickness, "EL")) return false;
    if ((m_props.CNDACRegs & 4) == 0) return true;
    return drawStraightDac(0, kReferenceThickness, "");
}

bool EvaluationCurveDrawer::updateCurvedCnDac() {
    if (!drawCurvedDac(m_props.Curve1Offset, kOffsetThickness, "RL")) return false;
    if (!drawCurvedDac(m_props.Curve2Offset, kOffsetThickness, "SL")) return false;
    if (!drawCurvedDac(m_props.Curve3Offset, kOffsetThickness, "EL")) return false;
    if ((m_props.CNDACRegs & 4) == 0) return true;
    return drawCurvedDac(0, kReferenceThickness, "");
}

bool EvaluationCurveDrawer::updateTcgRefLine() {
    if (m_props.TCGCurveStatus != kRecordingPoints) {
        for (const std::int32_t offset :
             {m_props.Curve1Offset, m_props.Curve2Offset, m_props.Curve3Offset, m_props.Curve4Offset}) {
            if (offset != 0 && !drawTcgRefLine(offset, kOffsetThickness, offset / 10.0)) return false;
        }
    }
    return drawTcgRefLine(0, kReferenceThickness, 0.0);
}

bool EvaluationCurveDrawer::updateDgsCurves() {
    for (const std::int32_t offset :
         {m_props.Curve1Offset, m_props.Curve2Offset, m_props.Curve3Offset, m_props.Curve4Offset}) {
        if (offset != 0 && !drawDgsCurves(offset)) return false;
    }
    return drawDgsCurves(0);
}

bool EvaluationCurveDrawer::dacCurveDrawn(bool straight) const {
    const std::int32_t status = m_props.TCGCurveStatus;
    const std::int32_t points = m_props.ulNumOfStoredPoints;
    if (status == 1) return points >= 2;
    if (status != 2) return false;
    return m_props.TCGMode == 2 || (straight && m_props.JISDACMode == 1) || cnDacEnabled();
}

void EvaluationCurveDrawer::writeLabel(double x, double y, const std::string& text) {
    m_surface.setForeground(kCurveRed);
    if (!text.empty()) m_surface.text(x, y, text, kLabelPoints);
    m_surface.setForeground(kLabelDone);
}

} // namespace pelix::ascanview
