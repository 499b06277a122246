// What every evaluation curve shares: the receiver filter's delay, the time
// window the screen shows (in the instrument's 5 ns steps), the gain ratio
// that moves a curve with the gain, and the curve colours and label type.
#pragma once

#include "ascanview/interface/export.h"
#include "ascanview/render/drawing_surface.h"
#include "core/curves/dgs_setup.h"
#include "core/curves/filter_delay.h"

#include <array>
#include <cstdint>
#include <optional>

namespace pelix::ascanview {

inline constexpr Rgb kCurveRed = rgb(255, 0, 0);
inline constexpr Rgb kCurveBlue = rgb(0, 0, 255);
inline constexpr Rgb kLabelDone = rgb(0, 0, 0); // text colour after a label
inline constexpr double kLabelPoints = 7.0;

using curves::FilterDelayTable;

// Table entry of the filter in bits 0-3 of FilterSetup; none for 10..15.
ASCANVIEW_API std::optional<std::int32_t> filterDelayEntry(std::int32_t filterSetup);
// The filter delay in ns (380, or 260 for filter 5).
ASCANVIEW_API std::optional<std::int32_t> filterDelayNs(std::int32_t filterSetup);

struct ControlProperties;
// The control's DGS settings, as the DGS set-up takes them.
curves::DgsSettings dgsSettings(const ControlProperties& props);

// The displayed time window in 5 ns steps.
struct DisplayWindow {
    std::int32_t slDispStartTime5ns = 0;
    double ulDispRangeTime5ns = 0.0; // 1.1 times the round trip of the displayed range
    double slDispEndTime5ns = 0.0;

    // x of a time in ns on a surface `width` wide.
    double x(double timeNs, double width) const {
        return (timeNs / 5.0 - slDispStartTime5ns) * width / ulDispRangeTime5ns;
    }
};

// Start = display delay + probe delay (each rounded to 5 ns steps); range from
// the displayed length (um) and the velocity (0.1 m/s). None when the window
// cannot be formed (velocity 0, values beyond range).
ASCANVIEW_API std::optional<DisplayWindow> displayWindow(double ttDisplayDelay, double probeDelay,
                                                         double ttDisplayRange, double ttVelocity);

// 10^((gain - refGain + offset) / 200) * 10000: the factor (10000 = 1) that
// brings an amplitude recorded at refGain to gain, shifted by offset (0.1 dB).
ASCANVIEW_API std::optional<double> gainRatio(double gain, double refGain, double offset);

} // namespace pelix::ascanview
