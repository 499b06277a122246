// The /frames group of an export: one table per frame value. Its layout is made
// once from the recording (FrameLayout); a block of up to kChunkRows frames is
// filled from the records as stored on any thread (FrameDecoder into a
// FrameBlock) and written whole, one call a table, on the thread that owns the
// file (FrameTables). Memory stays a few blocks however long the recording is.
#pragma once

#include "core/evaluation/recorded_readings.h"
#include "core/hdf5/chunk_filters.h"
#include "core/hdf5/h5_objects.h"
#include "core/recording/open_recording.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pelix::hdf5 {

// Samples a frame's trace shows: 1600 for an RF recording, 800 otherwise.
std::size_t displayedSamples(int32_t rectification);

struct ColumnShape {
    std::string name;
    ElementType type;
    hsize_t width = 1;          // values a frame
    const char* unit = nullptr; // the table's "unit" attribute, when it has one
    std::size_t rowBytes() const { return static_cast<std::size_t>(width) * type.size; }
};

// Which tables a recording's /frames holds, in the order they are made, and where each
// value of a frame goes. Made (and destroyed) on the thread that calls the library; the
// decoders only read it.
class FrameLayout {
  public:
    explicit FrameLayout(const recording::OpenRecording& recording);

    const std::vector<ColumnShape>& columns() const { return m_columns; }
    // False when the library could not make the readings' unit type.
    bool valid() const { return m_unitType.valid(); }

    struct FieldColumn {
        layout::Field field;
        std::size_t column = 0;
    };
    std::size_t samples = 0;
    bool envelope = false;
    std::size_t number = 0, time = 0, flag = 0, ascan = 0, envelopeTrace = 0;
    std::array<std::size_t, 4> gates{}; // gate A start, width, gate B start, width
    std::size_t readingNumber = 0, readingUnit = 0, readingHeld = 0;
    std::vector<FieldColumn> fields;       // the frame header's words
    std::vector<FieldColumn> secondFields; // an envelope recording's second header

  private:
    std::size_t add(std::string name, ElementType type, hsize_t width, const char* unit = nullptr);

    Handle m_unitType; // the readings' unit texts
    std::vector<ColumnShape> m_columns;
};

// The values of up to kChunkRows successive frames, one buffer a table, and the
// records they were decoded from.
struct FrameBlock {
    std::vector<uint8_t> records;
    std::vector<std::vector<unsigned char>> columns;
    hsize_t rows = 0;
    // Each table's chunk as the file stores it, when the tables are compressed.
    std::vector<std::vector<unsigned char>> stored;
};

// Fills blocks from records as stored. One a thread: it keeps what successive frames share.
class FrameDecoder {
  public:
    FrameDecoder(const FrameLayout& layout, const recording::OpenRecording& recording);

    // Sizes `block` for a whole chunk of this layout (allocates only the first time).
    void prepare(FrameBlock& block) const;
    // `count` successive frames from `firstNumber` on, as stored from `records` on (a frame's
    // records a stride apart, an envelope recording's second right after its first), into
    // the rows from `firstRow` on.
    void decode(int32_t firstNumber, const uint8_t* records, std::size_t count, FrameBlock& block,
                std::size_t firstRow);
    // Fills `block.stored` with each table's chunk of `chunkRows` rows shuffled and deflated at
    // `level`, rows beyond the block's own empty; false when the compressor fails.
    bool compress(FrameBlock& block, hsize_t chunkRows, int level);

  private:
    struct SlotNumber {
        bool valid = false;
        uint64_t revision = 0;
        double number = 0;
        std::array<char, 2> unit{};
    };
    // Frame `number`'s records (the first, and an envelope recording's second, else null) into
    // row `row`: everything but the header's words.
    void decodeFrame(int32_t number, const uint8_t* firstRecord, const uint8_t* secondRecord,
                     FrameBlock& block, std::size_t row);
    void decodeReadings(const recording::FrameHeader& header, FrameBlock& block, std::size_t row);
    // The words of `fields` of `count` records a frame stride apart, table after table.
    void decodeWords(const std::vector<FrameLayout::FieldColumn>& fields, const uint8_t* records,
                     std::size_t count, FrameBlock& block, std::size_t firstRow) const;

    const FrameLayout& m_layout;
    const recording::OpenRecording& m_recording;
    evaluation::RecordedReadingTexts m_texts;
    std::array<SlotNumber, recording::kReadingSlots> m_slotNumbers;
    std::unique_ptr<ChunkDeflater> m_deflater; // made on the first compressed block
};

// The tables of /frames in the file, written a block at a time in frame order.
class FrameTables {
  public:
    FrameTables(const FrameLayout& layout, int compression) : m_layout(layout), m_compression(compression) {}

    // Makes every table of `rows` frames in the group `frames`; false (and why in `error`) on failure.
    bool create(hid_t frames, hsize_t rows, std::string& error);
    // Writes the block's rows after those written before (as compressed, when the tables are).
    bool write(const FrameBlock& block, std::string& error);
    // Closes every table; false when the library reports a failure.
    bool close(std::string& error);

  private:
    const FrameLayout& m_layout;
    int m_compression;
    hsize_t m_written = 0;
    std::vector<FrameTable> m_tables;
    Handle m_secondHeader;
};

} // namespace pelix::hdf5
