// The B-scan's sample axis: which stretch of sound path its rows cover and
// what the axis labels read. The rows span the A-scan's display window (the
// 800 samples across the control's full width), so the gates, given in the
// display units of the A-scan (mm or inch), fall on the rows they cross on
// screen. A recording made in microseconds labels the same window in µs of
// time of flight, as the instrument's readings print it. No Qt.
#pragma once

#include "core/recording/derived_setup.h"
#include "core/recording/recording_header.h"

namespace pelix::bscan {

struct SampleAxis {
    // The display window in display units (mm, or inch for inch recordings).
    double displayStart = 0.0;
    double displaySpan = 1.0;
    // The same window as the labels read it.
    double labelStart = 0.0;
    double labelSpan = 1.0;
    const char* unit = "mm"; // "mm", "inch" or "µs" (UTF-8)
};

SampleAxis sampleAxisOf(const recording::RecordingHeader& setup, const recording::DerivedSetup& derived);

// Where a value in display units lies down the rows, as a fraction of the
// axis (0 the top row's upper edge, 1 the bottom row's lower edge).
inline double axisFraction(const SampleAxis& axis, double displayUnits) {
    return (displayUnits - axis.displayStart) / axis.displaySpan;
}

} // namespace pelix::bscan
