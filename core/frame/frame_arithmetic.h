// The Qt-free arithmetic of showing a frame: units, echo sound paths, the
// absolute start of gate B and the gate thresholds the control is given.
#pragma once

#include "core/recording/frame_header.h"
#include "core/recording/recording_header.h"

#include <cstdint>
#include <string>

namespace pelix::frame {

// What the recording's Units word selects for the panel and the scales. Only
// inch (1) differs; every other value, microseconds included, shows millimetres.
struct UnitConstants {
    double lengthDivisor;      // micrometres per display unit
    int lengthDecimals;        // "0.00" or "0.000"
    const char* velocityTitle; // panel row 1 caption
    int velocityDecimals;      // "0" or "0.0000"
    const char* unitsText;     // panel row 4 value
    bool convertScaleTexts;    // inch scale texts pass through the control's decimal-separator conversion
};

UnitConstants unitConstantsFor(uint8_t units);

// Time of flight in ns of a frame-gate time given in 2.5 ns ticks, to the middle of the tick.
double tofNanoseconds(int64_t ticks_2_5ns);

// Sound path of the gate A / gate B echo in micrometres (single precision, as
// the instrument's display holds it); 0 when the gate is off or its echo has no time.
float soundPathA(const recording::RecordingHeader& setup, const recording::FrameHeader& frame);
float soundPathB(const recording::RecordingHeader& setup, const recording::FrameHeader& frame);

// Micrometres to display units, single precision.
float toDisplayUnits(double micrometres, const UnitConstants& units);

// Where gate B starts on screen. A triggered gate B counts from gate A: from
// the gate A echo when it has a valid time (`caretOne`, the control's caret
// position), else from the gate A start.
float absoluteGateBStart(const recording::RecordingHeader& setup, const recording::FrameHeader& frame,
                         float gateAStart, float gateBStart, float caretOne);

// The thresholds the control draws: RF keeps the sign (the gate sits on one
// half-wave), rectified traces only know positive heights.
struct GateThresholds {
    int16_t gateA; // the control holds gate A's threshold in 16 bits
    int32_t gateB;
};
GateThresholds gateThresholds(int32_t rectification, int32_t gateAThreshold, int32_t gateBThreshold);

// Panel row 3 value; empty for a rectification the instrument does not know.
const char* rectificationText(int32_t rectification);

// "n/N Frames   t/T Seconds"
std::string positionTitle(int64_t frame, int64_t frameCount, int64_t timeIndex, int64_t totalSeconds);

} // namespace pelix::frame
