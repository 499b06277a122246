// The drawing steps of one A-scan redraw, each a separate call that reports
// whether it completed. A step that fails leaves its element undrawn and the
// redraw goes on with the next one.
#pragma once

#include "ascanview/interface/control_properties.h"
#include "ascanview/interface/export.h"
#include "ascanview/render/ascan_colors.h"
#include "ascanview/render/ascan_mapping.h"
#include "ascanview/render/drag_state.h"
#include "ascanview/render/drawing_surface.h"

namespace pelix::ascanview {

// The search box in surface units.
struct SearchBoxGeometry {
    double left = 0.0;
    double top = 0.0;
    double width = 0.0;
    double height = 0.0;
};

enum class GateId { A, B };

class ASCANVIEW_API AscanGraph {
  public:
    AscanGraph(ControlProperties& props, GateDragState& drag, DrawingSurface& surface);

    bool isRf() const { return m_props.iAscanRectMode != 0; }
    AscanMapping mapping() const;

    // A drag ends at the next redraw once the host has withdrawn the move flag.
    bool resetDragFlags();
    bool drawGraticule();
    // The four search limits from the box, rectified or RF as the mode says.
    bool updateSearchLimits(const SearchBoxGeometry& box);
    bool drawSolidBars();
    bool drawRectifiedTrace(bool envelope);
    bool drawRfTrace(bool envelope);
    bool drawGate(GateId gate);
    bool drawGateEndMarkers(GateId gate);
    bool drawCaret(GateId gate);

  private:
    struct Bar {
        double x1, x2, y;
    };
    bool computedBar(GateId gate, Bar& bar) const;
    bool sample(double index, double& value) const;
    bool hasSamples(std::int64_t first, std::int64_t last) const;

    ControlProperties& m_props;
    GateDragState& m_drag;
    DrawingSurface& m_surface;
};

} // namespace pelix::ascanview
