// Draws the evaluation curves of one redraw onto the surface: the DAC family
// (straight or Akima-curved, with offset curves), JIS and CN DAC lines, TCG
// reference lines and the DGS curves. Every drawing operation reports whether
// it completed; a fault (an arithmetic fault, a filter index beyond the
// table, too many points, an index outside the arrays) ends the operation
// with what it drew kept, and the family stops there for this redraw.
#pragma once

#include "ascanview/curves/cal_exports.h"
#include "ascanview/curves/curve_setup.h"
#include "ascanview/curves/curve_state.h"
#include "ascanview/interface/control_properties.h"
#include "ascanview/interface/export.h"
#include "ascanview/render/drag_state.h"
#include "ascanview/render/drawing_surface.h"

#include <cstdint>
#include <string>

namespace pelix::ascanview {

// The fifteen values of one straight DAC piece in their calling order; the
// two times and the four capture values come back as the piece leaves them.
struct StraightDacSegment {
    std::int32_t slEarlyTOF1ns = 0;
    double ulEarlyCorrAmp0_1PSH = 0.0;
    std::int32_t slLateTOF1ns = 0;
    double ulLateCorrAmp0_1PSH = 0.0;
    std::int32_t slDispStartTime5ns = 0;
    double ulDispRangeTime5ns = 0.0;
    double slDispEndTime5ns = 0.0;
    Rgb Color = kCurveRed;
    double llGainRatio = 10000.0;
    double ulNormalView = 0.0; // carried, never read
    std::int32_t ucLineThickness = 1;
    double ptrulFirstOnScreenCapture = 0.0;
    double ptrulCapturedEarlyAmp0_25pcntSH = 0.0;
    double ptrusEarlyXPixelForLabel = 0.0;
    double ptrusEarlyYPixelForLabel = 0.0;
};

class ASCANVIEW_API EvaluationCurveDrawer {
  public:
    EvaluationCurveDrawer(ControlProperties& props, GateDragState& drag, DrawingSurface& surface,
                          CurveState& state, const CalExports& cal);

    // Chooses the family by EvalMode.
    bool updateEvaluationCurve();

    bool updateStraightDac();
    bool updateCurvedDac();
    bool updateJisDacCurves();
    bool updateStraightCnDac();
    bool updateCurvedCnDac();
    bool updateTcgRefLine();
    bool updateDgsCurves();

    bool drawStraightDac(std::int32_t offset, std::int32_t thickness, const std::string& label);
    bool drawStraightDacSeg(StraightDacSegment& seg);
    bool drawCurvedDac(std::int32_t offset, std::int32_t thickness, const std::string& label);
    bool drawTcgRefLine(std::int32_t offset, std::int32_t thickness, double label);
    bool drawDgsCurves(std::int32_t offset);

  private:
    bool cnDacEnabled() const { return (m_props.CNDACRegs & 3) == 1; }
    bool dacCurveDrawn(bool straight) const;
    // Stores the gate B columns the curves colour blue when BEA is 1.
    bool gateBColumns(std::int32_t& first, std::int32_t& last);
    void writeLabel(double x, double y, const std::string& text);

    ControlProperties& m_props;
    GateDragState& m_drag;
    DrawingSurface& m_surface;
    CurveState& m_state;
    const CalExports& m_cal;
};

} // namespace pelix::ascanview
