// Between the instrument's quantities and the A-scan surface: display units
// across (gate ends, carets), percent of height down (thresholds). W and H are
// the surface's internal width and height.
#pragma once

#include "ascanview/interface/export.h"

#include <cstdint>
#include <optional>

namespace pelix::ascanview {

struct ASCANVIEW_API AscanMapping {
    double width = 0.0;  // W
    double height = 0.0; // H
    double delay = 0.0;  // display units at the left edge
    double range = 1.0;  // display units across the full width
    bool rf = false;     // thresholds count from the centre line, in percent of half the height

    // x(u) = (u - delay) / range * W
    double x(double u) const { return (u - delay) / range * width; }
    // u(x) = range / W * x + delay
    double u(double x) const { return range / width * x + delay; }
    // Rectified: H - t/100 * H; RF: H/2 - t/200 * H.
    double y(double thresholdPercent) const {
        return rf ? height / 2.0 - thresholdPercent / 200.0 * height
                  : height - thresholdPercent / 100.0 * height;
    }
    // The threshold a bar at y stands for, rounded to the nearest whole percent
    // (halves to even); empty when H is 0 or the result leaves the 32-bit range.
    std::optional<std::int32_t> threshold(double y) const;

    // Left edge of trace column i when the width is split into n columns.
    double column(double i, double n) const { return i * width / n; }
    // Height of a rectified sample in percent of the full height.
    double rectifiedY(double percent) const { return height - percent * height / 100.0; }
    // Upper and lower RF peaks in percent of half the height.
    double upperY(double percent) const { return height / 2.0 - percent * height / 200.0; }
    double lowerY(double percent) const { return height / 2.0 + percent * height / 200.0; }
};

} // namespace pelix::ascanview
