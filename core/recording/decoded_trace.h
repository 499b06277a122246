// A frame's samples turned into what the display and the gate evaluation use.
#pragma once

#include "core/recording/record_layout.h"

#include <array>
#include <cstdint>

namespace pelix::recording {

inline constexpr std::size_t kAscanPointCount = 1601;
inline constexpr std::size_t kEnvelopePointCount = 3201;

// What the A-scan control is told about the trace; the values of its
// RectType and FillType enumerations.
struct TraceDrawMode {
    int16_t iAscanRectMode = 0; // RECTIFIED 0, RF 1
    int16_t iAscanDrawMode = 0; // HOLLOW 0
    int16_t iNumPoints = 0;     // 1600 for RF, 800 rectified
};

struct DecodedTrace {
    std::array<int16_t, kAscanPointCount> AscanPoints{};       // percent of screen height, 0..100
    std::array<int16_t, kAscanPointCount> AscanRaw{};          // 16 x the sample byte, 0..4080
    std::array<int16_t, kEnvelopePointCount> EnvelopePoints{}; // envelope recordings only
    TraceDrawMode mode;
    bool modeKnown = false; // false until a sample block of a known rectification was decoded
};

// Percent of screen height of one sample byte: x * 16 / 41 rounded (no halves occur).
constexpr int16_t screenPercent(uint8_t x) {
    return static_cast<int16_t>((x * 32 + 41) / 82);
}
constexpr int16_t rawAmplitude(uint8_t x) {
    return static_cast<int16_t>(16 * x);
}

// Composes AscanPoints/AscanRaw from one 1600-byte sample block under the
// recording's rectification. Returns false (and stores nothing) for an
// unknown rectification; entries the rectification does not use keep their
// previous values.
bool composeSamples(int32_t rectification, const uint8_t* block, DecodedTrace& trace);

// AscanRaw alone, as composeSamples leaves it (what a gate re-measure reads): false, and nothing
// stored, for an unknown rectification; entries the rectification does not use keep their values.
bool composeRawSamples(int32_t rectification, const uint8_t* block,
                       std::array<int16_t, kAscanPointCount>& raw);
// The same for sample pairs firstPair..lastPair alone (lastPair below kSamplePairs; none when
// firstPair > lastPair): a gate re-measure decodes only the samples its gates read.
bool composeRawSamples(int32_t rectification, const uint8_t* block,
                       std::array<int16_t, kAscanPointCount>& raw, std::size_t firstPair,
                       std::size_t lastPair);

// The displayed AscanPoints alone, one byte each, as composeSamples leaves them (what a table
// of every frame stores): 1600 values for RF, 800 otherwise, written to `out`. False, and
// nothing stored, for an unknown rectification.
bool composeScreenPercent(int32_t rectification, const uint8_t* block, uint8_t* out);

} // namespace pelix::recording
