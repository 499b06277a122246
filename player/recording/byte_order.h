// The recording holds two byte orders: the setup record is big-endian, the
// per-frame header little-endian.
#pragma once

#include <cstdint>

namespace pelix::recording {

// Four bytes in reverse order; every setup-record word passes through it.
constexpr int32_t EndianSwap(int32_t val) {
    const auto u = static_cast<uint32_t>(val);
    return static_cast<int32_t>((u >> 24) | ((u >> 8) & 0x0000FF00u) | ((u << 8) & 0x00FF0000u) | (u << 24));
}

inline int32_t bigEndianWord(const uint8_t* bytes) {
    return static_cast<int32_t>((uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                                (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]});
}

inline int32_t littleEndianWord(const uint8_t* bytes) {
    return static_cast<int32_t>((uint32_t{bytes[3]} << 24) | (uint32_t{bytes[2]} << 16) |
                                (uint32_t{bytes[1]} << 8) | uint32_t{bytes[0]});
}

} // namespace pelix::recording
