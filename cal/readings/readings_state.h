// The one process-wide state of the reading formatter: the setup of the open
// recording, the current frame's gates, and every value derived from them.
// The player and the A-scan control load the same library, so there is exactly
// one of these; resetReadingsState() returns it to the freshly loaded state.
#pragma once

#include <array>
#include <cstdint>

#include "layout/record_layout.h"

namespace pelix::cal::readings {

inline constexpr int kReadingCodeCapacity = 14;
inline constexpr int kZoneCount = 10;

// Setup words of the recording header after byte reversal. Where the
// instrument only uses part of a word, only that part is kept.
struct Setup {
    int32_t units = 0;               // 1 inch, 2 microseconds, anything else millimetre
    int32_t probeDelay_ns = 0;       // zero point of echo times
    int32_t displayDelay_ns = 0;     // left edge of the display
    int32_t velocity = 0;            // 0.1 m/s
    int32_t rectification = 0;       // 0 = RF
    int32_t pathAsZoneNumber = 0;    // 1: sound paths read as zone numbers
    int32_t zoneLengthsVariable = 0; // 0: uniform zones
    int32_t readingSlotCount = 0;
    std::array<int32_t, kReadingCodeCapacity> readingCodes{};
    int32_t evalMode = 0;     // 0 DAC, 1 DGS, 4 JIS, 5 CN
    int32_t tcgMode = 0;      // with DAC: 1 single reference echo, 2 reference curve
    int32_t dacCurveType = 0; // with a reference curve: 0 amplitudes, else gain steps
    std::array<int32_t, 6> curveOffsets_01dB{};
    int32_t storedPoints = 0; // DAC points in the header's point table
    int32_t prbAngle_01deg = 0;
    int32_t trigThk_um = 0;
    int32_t probeXValue_um = 0; // probe index offset
    int32_t oDiameter_um = 0;   // 0 = flat part
    int32_t dgsMode = 0;        // 1 = DGS evaluation valid
    int32_t dgsProbeNum = 0;
    int32_t dgsEffeDiam_um = 0;
    int32_t dgsTestAtten = 0; // 0.1 dB/m
    int32_t dgsRefAmp_01pct = 0;
    int32_t dgsBaseGain_01dB = 0; // gain at which the frame was recorded
    int32_t dgsRefGain_01dB = 0;
    int32_t filterSetup = 0;   // receiver filter, 0..15
    int32_t gateBRelative = 0; // non-zero: gate B times count from the gate A echo
    int32_t jisEnable = 0;
    int32_t jisBoldLine = 0; // 1: -6 dB, 2: -12 dB
    int32_t cnDacRegs = 0;
};

// The gate settings the readings take from the frame header copy.
struct FrameGates {
    int32_t gateAThreshold_pct = 0;
    int32_t gateAOn = 0;
    int32_t gateBThreshold_pct = 0;
    int32_t gateBOn = 0;
};

// One gate's result as measured on the frame.
struct Gate {
    int32_t amplitudeWord = 0;
    int32_t timeWord = 0;
    int32_t thirdWord = 0;
    int32_t amp01 = 0;      // 0.1 % of screen height; raw 4095 is 105.0 %
    int32_t amp = 0;        // whole percent
    int32_t time = 0;       // 2.5 ns ticks
    int32_t third = 0;      // kept, read by no reading
    bool triggered = false; // an echo at or above the trigger threshold
    int32_t heldTime = 0;   // time of the last triggered frame since the setup was loaded
};

struct GeometryCache {
    bool computed = false;
    bool valid = false;
    int64_t depth_um = 0;
    int64_t projection_um = 0;
    int64_t reducedProjection_um = 0;
    int64_t leg = 0;
};

struct DgsResults {
    bool computed = false;
    bool ersValid = false;
    int64_t ers_um = 0;
    bool decibelValid = false;
    int32_t decibel_01dB = 0; // gate A echo against the DGS curve
    bool percentValid = false;
    int32_t percent_01pct = 0;
};

enum class GateId { A = 0, B = 1 };

// A reading's text as last written, with what it was written from: the same reading in the same
// units is the same text.
struct WrittenText {
    bool valid = false;
    int32_t kind = 0;
    uint32_t flags = 0; // hasValue, live and clipped as bits 0, 1 and 2
    int64_t value = 0;
    const char* textValue = nullptr;
    int32_t units = 0;
    int32_t velocity = 0;
    bool shown = false;
    std::array<char, 34> text{};
};

struct ReadingsState {
    const uint8_t* recordingHeader = nullptr; // the player's buffer, read again for the DAC points
    std::array<uint8_t, layout::kFrameHeaderBytes> frameHeader{};
    Setup setup;
    FrameGates frame;
    Gate gateA;
    Gate gateB;
    int32_t heldDifference_ticks = 0; // B - A of the last frame with both gates triggered
    std::array<GeometryCache, 2> geometry{};
    DgsResults dgs;
    std::array<int32_t, kZoneCount> zoneLengths_um{}; // nothing in the system fills it
    // The setup record `setup` was decoded from: a player hands the same setup with every frame,
    // and decoding it again would give the same words.
    std::array<uint8_t, layout::kRecordingHeaderBytes> setupBytes{};
    bool setupDecoded = false;
    // The last text written for each result slot, and what it was written from (see exports.cpp).
    std::array<WrittenText, kReadingCodeCapacity> writtenTexts{};

    const Gate& gate(GateId id) const { return id == GateId::A ? gateA : gateB; }
    GeometryCache& geometryOf(GateId id) { return geometry[static_cast<int>(id)]; }
};

ReadingsState& readingsState();
void resetReadingsState();

// Forgets everything derived from earlier frames (held times, caches, DGS
// results, zone table); the setup and the current gates are left alone.
void clearDerivedValues(ReadingsState& state);

} // namespace pelix::cal::readings
