// The search box's mouse rules without the widgets: which zone of the box a
// point is in, how a drag in each zone moves or resizes it, and how the box
// is kept on the drawing surface. Coordinates are surface units; the box's
// own (mouse) coordinates are relative to its top-left corner.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/render/ascan_graph.h"

#include <optional>

namespace pelix::ascanview {

// Where the picture sits inside the control, in twips: the borders of the
// box's clamping are measured from there.
inline constexpr double kSurfaceLeft = 96.0;
inline constexpr double kSurfaceTop = 288.0;

// The box's zones: one quarter of it on the left and top, one fifth on the
// right and bottom; the middle moves the box, an edge or corner resizes it.
enum class BoxZone { Middle, Left, Right, Top, Bottom, TopLeft, TopRight, BottomLeft, BottomRight };

ASCANVIEW_API BoxZone boxZoneAt(double x, double y, double width, double height);

// Between press and release.
struct SearchBoxDrag {
    bool searchDragging = false;
    bool searchMoving = false;
    double pressX = 0.0, pressY = 0.0; // box coordinates, whole units
    double mouseX = 0.0, mouseY = 0.0; // last mouse position over the box
};

// SearchRangeLimit: a box past a border of the surface is put back inside;
// only a box past no border is moved, by the mouse's offset from the press,
// and only while the drag moves it. Returns true when the box was put back.
ASCANVIEW_API bool limitSearchBox(SearchBoxGeometry& box, const SearchBoxDrag& drag, double surfaceWidth,
                                  double surfaceHeight);

// A drag in an edge or corner zone: that edge (or both edges of the corner)
// follows the mouse's offset from the press, down to the smallest box (120
// wide through the left edge, 150 through the right, 80 high through the top
// edge, 150 through the bottom). The surface's borders are kept by
// limitSearchBox and by the cursor's confinement. An edge on the right or
// bottom moves away from the box's origin, so the press point goes with it.
ASCANVIEW_API void resizeSearchBox(SearchBoxGeometry& box, BoxZone zone, SearchBoxDrag& drag);

// The box whose limits are these, as the limits are computed from a box: the
// horizontal window on the 0..800 scale, the amplitude window in percent (in
// RF in the half of the picture `lowerHalf` names). Empty where the limits make
// no box on the surface (an edge outside it, or no width or height).
ASCANVIEW_API std::optional<SearchBoxGeometry> searchBoxOfLimits(double lowWidth, double upWidth,
                                                                 double lowHeight, double upHeight, bool rf,
                                                                 bool lowerHalf, double surfaceWidth,
                                                                 double surfaceHeight);

} // namespace pelix::ascanview
