#include "player/bscan/bscan_axis.h"

#include "core/frame/frame_arithmetic.h"
#include "core/frame/frame_view.h"

#include <cmath>

namespace pelix::bscan {

SampleAxis sampleAxisOf(const recording::RecordingHeader& setup, const recording::DerivedSetup& derived) {
    // The window exactly as the A-scan control is given it.
    frame::PanelView panel;
    frame::ScaleView scale;
    frame::describeUnitRows(setup, derived, panel, scale);
    SampleAxis axis;
    axis.displayStart = scale.fAscanDelay;
    axis.displaySpan = scale.fAscanRange;
    // A hostile setup record can leave the window empty or not a number: one
    // display unit keeps every division below finite.
    if (!std::isfinite(axis.displayStart)) axis.displayStart = 0.0;
    if (!(std::isfinite(axis.displaySpan) && axis.displaySpan > 0.0)) axis.displaySpan = 1.0;
    axis.labelStart = axis.displayStart;
    axis.labelSpan = axis.displaySpan;
    axis.unit = setup.isInch() ? "inch" : "mm";
    // Microseconds of round trip, as the readings print them: path in µm × 20 /
    // velocity in 0.1 m/s. Without a velocity the window stays in millimetres.
    if (setup.Units == 2 && setup.Velocity > 0) {
        const double rangeUm = static_cast<double>(setup.DisplayRange_um) * 1.1;
        const double span = rangeUm * 20.0 / setup.Velocity;
        if (span > 0.0 && std::isfinite(span)) {
            axis.labelStart = setup.DisplayDelay_ns / 1000.0;
            axis.labelSpan = span;
            axis.unit = "\u00b5s";
        }
    }
    return axis;
}

} // namespace pelix::bscan
