// What the curve drawing leaves in the control after a redraw.
#pragma once

namespace pelix::ascanview {

// The label capture of the last straight DAC piece drawn: whether a first
// on-screen point was found, its amplitude (0.25 % steps) and its position.
struct DacLabelCapture {
    double firstOnScreen = 0.0;
    double amplitude0_25pcntSH = 0.0;
    double x = 0.0;
    double y = 0.0;
};

struct CurveState {
    DacLabelCapture dacLabelCapture;
};

} // namespace pelix::ascanview
