// The /frames group of an export: one table per frame value, filled a block of
// frames at a time from the records as stored and written when the block is
// full, so memory stays one block however long the recording is.
#pragma once

#include "core/evaluation/recorded_readings.h"
#include "core/hdf5/h5_objects.h"
#include "core/recording/decoded_trace.h"
#include "core/recording/open_recording.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pelix::hdf5 {

// Samples a frame's trace shows: 1600 for an RF recording, 800 otherwise.
std::size_t displayedSamples(int32_t rectification);

class FrameColumns {
  public:
    FrameColumns(const recording::OpenRecording& recording, int compression);
    ~FrameColumns();
    FrameColumns(const FrameColumns&) = delete;
    FrameColumns& operator=(const FrameColumns&) = delete;

    // Makes every table of `rows` frames in the group `frames`; false (and why in `error`) on failure.
    bool create(hid_t frames, hsize_t rows, std::string& error);
    // Frame `number`'s records as stored: the first, and an envelope recording's second (else null).
    void add(int32_t number, const uint8_t* firstRecord, const uint8_t* secondRecord);
    // Writes the frames added since the last write.
    bool write(std::string& error);
    // Closes every table; false when the library reports a failure.
    bool close(std::string& error);

  private:
    struct Column;
    struct FieldColumn;
    struct SlotNumber {
        bool valid = false;
        uint64_t revision = 0;
        double number = 0;
        std::string unit;
    };

    Column& column(const char* name, ElementType type, hsize_t width, const char* unit = nullptr);
    void addHeader(std::vector<FieldColumn>& fields, const uint8_t* header);
    void addReadings(const recording::FrameHeader& header);

    const recording::OpenRecording& m_recording;
    int m_compression;
    std::size_t m_samples;
    bool m_envelope;
    const char* m_lengthUnit;
    hsize_t m_written = 0;
    hsize_t m_pending = 0;

    std::vector<std::unique_ptr<Column>> m_columns;
    Handle m_unitType; // the readings' unit texts
    Handle m_secondHeader;
    Column* m_number = nullptr;
    Column* m_time = nullptr;
    Column* m_flag = nullptr;
    Column* m_ascan = nullptr;
    Column* m_envelopeTrace = nullptr;
    Column* m_gates[4] = {};
    Column* m_readingNumber = nullptr;
    Column* m_readingUnit = nullptr;
    Column* m_readingHeld = nullptr;
    std::vector<FieldColumn> m_fields;
    std::vector<FieldColumn> m_secondFields;

    recording::DecodedTrace m_trace;
    evaluation::RecordedReadingTexts m_texts;
    std::array<SlotNumber, recording::kReadingSlots> m_slotNumbers;
};

} // namespace pelix::hdf5
