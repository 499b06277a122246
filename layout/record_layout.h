// The records of a recording file, described once: every field with its name,
// offset, width and byte order, arrays with their count and stride. The reader,
// the calculation library, the command-line dumps, the generator and the test
// fixtures take every offset from here; the field lists themselves are in the
// .def files beside this header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pelix::layout {

inline constexpr std::size_t kRecordingHeaderBytes = 1024;
inline constexpr std::size_t kFrameHeaderBytes = 448;
inline constexpr std::size_t kSampleBlockBytes = 1600;
inline constexpr std::size_t kSamplePairs = 800;
inline constexpr std::size_t kFrameRecordBytes = kFrameHeaderBytes + kSampleBlockBytes; // 2048
inline constexpr std::size_t kTcgPointBytes = 28;
inline constexpr std::size_t kTcgPoints = 16;
inline constexpr std::size_t kReadingSlots = 7;
inline constexpr std::size_t kCurveOffsets = 6;
inline constexpr std::size_t kZoneLengths = 10;

// The four identification bytes every recording starts with.
inline constexpr uint8_t kMagicBytes[4] = {0x55, 0xAA, 0x55, 0xAA};
// Version 7 instruments wrote four unused bytes after the setup record.
inline constexpr std::size_t kVersion7PaddingBytes = 4;

// An envelope recording stores every frame as a pair of records: the live
// trace, then its envelope.
inline constexpr std::size_t recordsPerFrame(bool envelope) {
    return envelope ? 2 : 1;
}

// Bytes from one frame's first record to the next frame's: 2048, or 4096 in an
// envelope recording. Everything that steps through the frames takes it from here.
inline constexpr std::int64_t frameStride(bool envelope) {
    return static_cast<std::int64_t>(kFrameRecordBytes * recordsPerFrame(envelope));
}

enum class ByteOrder : uint8_t { Big, Little };

struct Field {
    std::string_view name;
    std::size_t offset;
    std::size_t width; // bytes of one element
    ByteOrder order;
    std::size_t count;  // 1 for a single value
    std::size_t stride; // bytes from one element to the next; 0 for a single value

    // Where element i starts.
    constexpr std::size_t at(std::size_t i) const { return offset + i * stride; }
    // One past the last byte of the last element.
    constexpr std::size_t end() const { return at(count - 1) + width; }
    // A field stands for its offset wherever an offset is expected.
    constexpr operator std::size_t() const { return offset; }
};

// Each field becomes a named constant of its record's namespace...
#define PELIX_FIELD(name, offset, width, order, count, stride)                                               \
    inline constexpr Field name{#name, offset, width, ByteOrder::order, count, stride};

// RecordingHeader: the setup record.
namespace setup {
inline constexpr std::size_t kBytes = kRecordingHeaderBytes;
#include "layout/recording_header_fields.def"
} // namespace setup

// One TCGPoint inside setup::TCGPoints.
namespace tcg_point {
inline constexpr std::size_t kBytes = kTcgPointBytes;
#include "layout/tcg_point_fields.def"
} // namespace tcg_point

// FrameHeader: the head of every frame record.
namespace frame {
inline constexpr std::size_t kBytes = kFrameHeaderBytes;
#include "layout/frame_header_fields.def"
} // namespace frame

#undef PELIX_FIELD

// ...and an entry of its record's table, in file order.
#define PELIX_FIELD(name, offset, width, order, count, stride) name,
namespace setup {
inline constexpr Field kFields[] = {
#include "layout/recording_header_fields.def"
};
} // namespace setup
namespace tcg_point {
inline constexpr Field kFields[] = {
#include "layout/tcg_point_fields.def"
};
} // namespace tcg_point
namespace frame {
inline constexpr Field kFields[] = {
#include "layout/frame_header_fields.def"
};
} // namespace frame
#undef PELIX_FIELD

// The word at byte offset `offset` of a record, in the byte order given.
inline int32_t readWord(const uint8_t* record, std::size_t offset, ByteOrder order) {
    const uint32_t b0 = record[offset], b1 = record[offset + 1], b2 = record[offset + 2],
                   b3 = record[offset + 3];
    const uint32_t word = order == ByteOrder::Big ? (b0 << 24) | (b1 << 16) | (b2 << 8) | b3
                                                  : b0 | (b1 << 8) | (b2 << 16) | (b3 << 24);
    return static_cast<int32_t>(word);
}

inline void writeWord(uint8_t* record, std::size_t offset, ByteOrder order, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) {
        const std::size_t shift = order == ByteOrder::Big ? 24 - 8 * i : 8 * i;
        record[offset + i] = static_cast<uint8_t>(v >> shift);
    }
}

// Element `index` of a one-word field (or of a word array).
inline int32_t read(const uint8_t* record, const Field& field, std::size_t index = 0) {
    return readWord(record, field.at(index), field.order);
}

inline void write(uint8_t* record, const Field& field, int32_t value, std::size_t index = 0) {
    writeWord(record, field.at(index), field.order, value);
}

// A word of one TCG point k of the setup record.
inline int32_t readTcgPoint(const uint8_t* setupRecord, std::size_t k, const Field& pointField) {
    return readWord(setupRecord, setup::TCGPoints.at(k) + pointField.offset, pointField.order);
}

inline void writeTcgPoint(uint8_t* setupRecord, std::size_t k, const Field& pointField, int32_t value) {
    writeWord(setupRecord, setup::TCGPoints.at(k) + pointField.offset, pointField.order, value);
}

} // namespace pelix::layout
