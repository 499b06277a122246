// What the leg colouring needs of the control's angle-beam setup.
#pragma once

#include <cstdint>

namespace pelix::ascanview {

struct LegSetup {
    std::int32_t trigColorLeg = 0; // 1: colouring on
    std::int32_t prbAngle = 0;     // 0.1 deg
    std::int32_t oDiameter = 0;    // outside diameter, 0 for a flat part
    double trigThk = 0.0;          // wall thickness, unit of oDiameter (micrometres)
    double velocity = 0.0;         // 0.1 m/s
    std::int32_t probeDelay = 0;   // ns
    double displayDelay = 0.0;     // mm, or inch when inch is set
    double displayRange = 0.0;     // mm, or inch
    bool inch = false;
    std::int32_t ttDisplayDelay = 0; // display delay as recorded, used when displayDelay is 0
};

} // namespace pelix::ascanview
