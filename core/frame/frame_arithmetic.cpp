#include "core/frame/frame_arithmetic.h"

#include "core/numbers/number_format.h"

#include <cstdlib>
#include <limits>

namespace pelix::frame {

using numbers::toInt16Saturated;
using recording::FrameHeader;
using recording::RecordingHeader;

UnitConstants unitConstantsFor(uint8_t units) {
    if (units == 1) return {25400.0, 3, "Velocity(in/us):", 4, "INCH", true};
    return {1000.0, 2, "Velocity(mm/s):", 0, "MM", false};
}

double tofNanoseconds(int64_t ticks_2_5ns) {
    return (5.0 * static_cast<double>(ticks_2_5ns) + 1.0) / 2.0;
}

namespace {
// Round trip time beyond the probe delay, as a path in micrometres (Velocity in 0.1 m/s).
float pathFrom(double tof_ns, const RecordingHeader& setup) {
    return static_cast<float>((tof_ns - setup.ProbeDelay) * setup.Velocity / 20000.0);
}
} // namespace

float soundPathA(const RecordingHeader& setup, const FrameHeader& frame) {
    if (frame.GateAOn == 0) return 0.0f;
    const double t = frame.GateAValid == 1 ? tofNanoseconds(frame.GateATOF_2_5ns) : setup.ProbeDelay;
    return pathFrom(t, setup);
}

float soundPathB(const RecordingHeader& setup, const FrameHeader& frame) {
    if (frame.GateBOn == 0) return 0.0f;
    // A gate B triggered by gate A has nothing to count from while gate A saw no echo.
    if (setup.GateBTrigger == 1 && frame.GateAValid == 0) return 0.0f;
    double t;
    if (frame.GateBValid == 0)
        t = setup.ProbeDelay;
    else if (setup.GateBTrigger == 0)
        t = tofNanoseconds(frame.GateBTOF_2_5ns);
    else // the instrument records a triggered gate B's time from the gate A echo
        t = tofNanoseconds(static_cast<int64_t>(frame.GateBTOF_2_5ns) + frame.GateATOF_2_5ns);
    return pathFrom(t, setup);
}

float toDisplayUnits(double micrometres, const UnitConstants& units) {
    return static_cast<float>(micrometres / units.lengthDivisor);
}

float absoluteGateBStart(const RecordingHeader& setup, const FrameHeader& frame, float gateAStart,
                         float gateBStart, float caretOne) {
    if (setup.GateBTrigger == 0) return gateBStart;
    if (frame.GateAValid != 1) return gateAStart + gateBStart;
    return caretOne + gateBStart;
}

GateThresholds gateThresholds(int32_t rectification, int32_t gateAThreshold, int32_t gateBThreshold) {
    if (rectification == 0) return {toInt16Saturated(gateAThreshold), gateBThreshold};
    const int64_t a = std::llabs(static_cast<int64_t>(gateAThreshold));
    const int64_t b = std::llabs(static_cast<int64_t>(gateBThreshold));
    return {toInt16Saturated(a), b > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                                         : static_cast<int32_t>(b)};
}

const char* rectificationText(int32_t rectification) {
    switch (rectification) {
    case 0:
        return "RF";
    case 1:
        return "NEG";
    case 2:
        return "POS";
    case 3:
        return "FULLWAVE";
    default:
        return "";
    }
}

std::string positionTitle(int64_t frame, int64_t frameCount, int64_t timeIndex, int64_t totalSeconds) {
    return std::to_string(frame) + "/" + std::to_string(frameCount) + " Frames" + "   " +
           std::to_string(timeIndex) + "/" + std::to_string(totalSeconds) + " Seconds";
}

} // namespace pelix::frame
