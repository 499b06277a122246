// The recording holds two byte orders: the setup record is big-endian, the
// per-frame header little-endian (the layout table says which field is which).
#pragma once

#include <cstdint>

namespace pelix::recording {

// Four bytes in reverse order; every setup-record word passes through it.
constexpr int32_t EndianSwap(int32_t val) {
    const auto u = static_cast<uint32_t>(val);
    return static_cast<int32_t>((u >> 24) | ((u >> 8) & 0x0000FF00u) | ((u << 8) & 0x00FF0000u) | (u << 24));
}

} // namespace pelix::recording
