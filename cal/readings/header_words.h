// Word access into the two raw records the player hands over: the recording
// header is stored big-endian, the frame header little-endian, whatever the host.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelix::cal::readings {

inline constexpr std::size_t kRecordingHeaderBytes = 1024;
inline constexpr std::size_t kFrameHeaderBytes = 448;

inline int32_t bigEndianWord(const uint8_t* record, std::size_t offset) {
    const uint32_t word = (uint32_t{record[offset]} << 24) | (uint32_t{record[offset + 1]} << 16) |
                          (uint32_t{record[offset + 2]} << 8) | uint32_t{record[offset + 3]};
    return static_cast<int32_t>(word);
}

inline int32_t littleEndianWord(const uint8_t* record, std::size_t offset) {
    const uint32_t word = uint32_t{record[offset]} | (uint32_t{record[offset + 1]} << 8) |
                          (uint32_t{record[offset + 2]} << 16) | (uint32_t{record[offset + 3]} << 24);
    return static_cast<int32_t>(word);
}

} // namespace pelix::cal::readings
