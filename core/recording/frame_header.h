// The 448-byte header of a frame record (little-endian words, used as stored).
#pragma once

#include "core/recording/record_layout.h"

#include <array>
#include <cstdint>

namespace pelix::recording {

using FrameHeaderBytes = std::array<uint8_t, kFrameHeaderBytes>;

struct FrameHeader {
    int32_t FrameFlag = 0;
    // The instrument's own readings of this frame, one entry per reading slot.
    std::array<int32_t, kReadingSlots> ReadingNoValue{};
    std::array<int32_t, kReadingSlots> ReadingLive{};
    std::array<int32_t, kReadingSlots> ReadingValue{};
    std::array<int32_t, kReadingSlots> ReadingKind{};
    std::array<int32_t, kReadingSlots> ReadingClipped{};
    int32_t Gain_01dB = 0;
    int32_t GateAStart_um = 0;
    int32_t GateAWidth_um = 0;
    int32_t GateAThreshold = 0;
    int32_t GateAMode = 0;
    int32_t GateAOn = 0;
    int32_t GateATOF_2_5ns = 0;
    int32_t GateAAmplitude = 0;
    int32_t GateAValid = 0;
    int32_t GateBStart_um = 0;
    int32_t GateBWidth_um = 0;
    int32_t GateBThreshold = 0;
    int32_t GateBMode = 0;
    int32_t GateBOn = 0;
    int32_t GateBTOF_2_5ns = 0;
    int32_t GateBAmplitude = 0;
    int32_t GateBValid = 0;
};

FrameHeader decodeFrameHeader(const uint8_t* bytes);
inline FrameHeader decodeFrameHeader(const FrameHeaderBytes& bytes) {
    return decodeFrameHeader(bytes.data());
}

// Only the flag word, for the scan that builds the flag index.
int32_t frameFlagOf(const uint8_t* bytes);

} // namespace pelix::recording
