#include "core/hdf5/frame_columns.h"

#include "core/evaluation/reading_number.h"
#include "core/frame/frame_arithmetic.h"
#include "core/recording/decoded_trace.h"
#include "core/recording/record_fields.h"

#include <charconv>
#include <cstring>
#include <limits>

namespace pelix::hdf5 {

using namespace pelix::recording;

std::size_t displayedSamples(int32_t rectification) {
    return rectification == 0 ? 2 * kSamplePairs : kSamplePairs;
}

namespace {
// The readings' units are "mm", "in", "us", "%", "dB" or none.
constexpr std::size_t kUnitLength = 2;

template <typename T> void put(FrameBlock& block, std::size_t column, std::size_t at, T value) {
    std::memcpy(block.columns[column].data() + at * sizeof value, &value, sizeof value);
}
} // namespace

FrameLayout::FrameLayout(const OpenRecording& recording)
    : samples(displayedSamples(recording.header().Rectification)), envelope(recording.header().isEnvelope()),
      m_unitType(fixedTextType(kUnitLength)) {
    const char* lengthUnit = recording.header().isInch() ? "in" : "mm";
    number = add("number", int32Element(), 1);
    time = add("time", float64Element(), 1, "s");
    flag = add("flag", uint8Element(), 1);
    ascan = add("ascan", uint8Element(), samples, "% of screen height");
    if (envelope) envelopeTrace = add("ascan_envelope", uint8Element(), samples, "% of screen height");
    const char* gateNames[] = {"gate_a_start", "gate_a_width", "gate_b_start", "gate_b_width"};
    for (std::size_t g = 0; g < 4; ++g)
        gates[g] = add(gateNames[g], float32Element(), 1, lengthUnit);
    readingNumber = add("reading_number", float64Element(), kReadingSlots);
    readingUnit = add("reading_unit", {m_unitType.id(), m_unitType.id(), kUnitLength}, kReadingSlots);
    readingHeld = add("reading_held", uint8Element(), kReadingSlots);

    // Every frame header word by the name `pelix frame --json` gives it, in the same order.
    const auto fieldColumns = [&](std::vector<FieldColumn>& out, const std::string& prefix) {
        forEachRecordField(
            fh::kFields, std::array<uint8_t, kFrameHeaderBytes>{}.data(),
            [](const layout::Field&) { return false; },
            [&](const layout::Field& f, int32_t) {
                out.push_back({f, add(prefix + std::string(f.name), int32Element(), 1)});
            },
            [&](const layout::Field& f, const std::vector<int32_t>&) {
                out.push_back({f, add(prefix + std::string(f.name), int32Element(), f.count)});
            });
    };
    fieldColumns(fields, "");
    if (envelope) fieldColumns(secondFields, "SecondFrameHeader/");
}

std::size_t FrameLayout::add(std::string name, ElementType type, hsize_t width, const char* unit) {
    m_columns.push_back({std::move(name), type, width, unit});
    return m_columns.size() - 1;
}

FrameDecoder::FrameDecoder(const FrameLayout& layout, const OpenRecording& recording)
    : m_layout(layout), m_recording(recording), m_texts(recording.header(), recording.derived().velocity) {}

void FrameDecoder::prepare(FrameBlock& block) const {
    const std::vector<ColumnShape>& columns = m_layout.columns();
    block.columns.resize(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c)
        block.columns[c].resize(FrameTable::kChunkRows * columns[c].rowBytes());
    block.rows = 0;
}

bool FrameDecoder::compress(FrameBlock& block, hsize_t chunkRows, int level) {
    if (!m_deflater) m_deflater = std::make_unique<ChunkDeflater>(level);
    const std::vector<ColumnShape>& columns = m_layout.columns();
    block.stored.resize(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        const std::size_t rowBytes = columns[c].rowBytes();
        std::vector<unsigned char>& values = block.columns[c];
        // A last chunk that the frames do not fill holds zeros after them, as the library would store it.
        std::fill(values.begin() + static_cast<std::ptrdiff_t>(block.rows * rowBytes),
                  values.begin() + static_cast<std::ptrdiff_t>(chunkRows * rowBytes), 0);
        if (!m_deflater->filter({values.data(), static_cast<std::size_t>(chunkRows) * rowBytes},
                                columns[c].type.size, block.stored[c]))
            return false;
    }
    return true;
}

void FrameDecoder::decodeReadings(const FrameHeader& header, FrameBlock& block, std::size_t row) {
    const RecordingHeader& setup = m_recording.header();
    for (std::size_t slot = 0; slot < kReadingSlots; ++slot) {
        const evaluation::RecordedReading reading = evaluation::recordedReading(setup, header, slot);
        const std::string& text = m_texts.valueText(slot, reading);
        SlotNumber& cached = m_slotNumbers[slot];
        // Successive frames mostly repeat a reading: its text is split again only when it changed.
        if (!cached.valid || cached.revision != m_texts.valueRevision(slot)) {
            const evaluation::ReadingNumber n = evaluation::readingNumber(text);
            const std::string_view digits = n.number();
            cached.number = std::numeric_limits<double>::quiet_NaN();
            if (!digits.empty()) std::from_chars(digits.data(), digits.data() + digits.size(), cached.number);
            cached.unit.fill('\0');
            n.unit.copy(cached.unit.data(), kUnitLength);
            cached.revision = m_texts.valueRevision(slot);
            cached.valid = true;
        }
        const std::size_t at = row * kReadingSlots + slot;
        put(block, m_layout.readingNumber, at, cached.number);
        std::memcpy(block.columns[m_layout.readingUnit].data() + at * kUnitLength, cached.unit.data(),
                    kUnitLength);
        put(block, m_layout.readingHeld, at, static_cast<uint8_t>(evaluation::readingHeld(reading) ? 1 : 0));
    }
}

void FrameDecoder::decode(int32_t firstNumber, const uint8_t* records, std::size_t count, FrameBlock& block,
                          std::size_t firstRow) {
    const auto stride = static_cast<std::size_t>(m_recording.frameStride());
    for (std::size_t k = 0; k < count; ++k) {
        const uint8_t* record = records + k * stride;
        decodeFrame(firstNumber + static_cast<int32_t>(k), record,
                    m_layout.envelope ? record + kFrameRecordBytes : nullptr, block, firstRow + k);
    }
    decodeWords(m_layout.fields, records, count, block, firstRow);
    if (m_layout.envelope)
        decodeWords(m_layout.secondFields, records + kFrameRecordBytes, count, block, firstRow);
}

void FrameDecoder::decodeWords(const std::vector<FrameLayout::FieldColumn>& fields, const uint8_t* records,
                               std::size_t count, FrameBlock& block, std::size_t firstRow) const {
    // One table at a time: its rows fill one after the other, where a frame at a time would
    // scatter every frame's words over all the tables' buffers and wait on memory for each.
    const auto stride = static_cast<std::size_t>(m_recording.frameStride());
    for (const FrameLayout::FieldColumn& f : fields) {
        unsigned char* out = block.columns[f.column].data() + firstRow * f.field.count * sizeof(int32_t);
        for (std::size_t k = 0; k < count; ++k) {
            const uint8_t* record = records + k * stride;
            for (std::size_t i = 0; i < f.field.count; ++i, out += sizeof(int32_t)) {
                const int32_t word = layout::read(record, f.field, i);
                std::memcpy(out, &word, sizeof word);
            }
        }
    }
}

void FrameDecoder::decodeFrame(int32_t number, const uint8_t* firstRecord, const uint8_t* secondRecord,
                               FrameBlock& block, std::size_t row) {
    const RecordingHeader& setup = m_recording.header();
    const FrameHeader header = decodeFrameHeader(firstRecord);
    put(block, m_layout.number, row, number);
    put(block, m_layout.time, row, static_cast<double>(number - 1) / m_recording.framesPerSecond());
    put(block, m_layout.flag, row, static_cast<uint8_t>(header.FrameFlag != 0 ? 1 : 0));

    // The trace as the display receives it; an unknown rectification decodes nothing, and the
    // trace on screen stays as it was before the first frame: empty.
    const auto putTrace = [&](std::size_t column, const uint8_t* record) {
        uint8_t* out = block.columns[column].data() + row * m_layout.samples;
        if (!composeScreenPercent(setup.Rectification, record + kFrameHeaderBytes, out))
            std::memset(out, 0, m_layout.samples);
    };
    putTrace(m_layout.ascan, firstRecord);
    if (m_layout.envelope && secondRecord != nullptr) putTrace(m_layout.envelopeTrace, secondRecord);

    const frame::UnitConstants units = frame::unitConstantsFor(setup.Units);
    const float gateAStart = frame::toDisplayUnits(header.GateAStart_um, units);
    const float caretOne = frame::toDisplayUnits(frame::soundPathA(setup, header), units);
    put(block, m_layout.gates[0], row, gateAStart);
    put(block, m_layout.gates[1], row, frame::toDisplayUnits(header.GateAWidth_um, units));
    put(block, m_layout.gates[2], row,
        frame::absoluteGateBStart(setup, header, gateAStart,
                                  frame::toDisplayUnits(header.GateBStart_um, units), caretOne));
    put(block, m_layout.gates[3], row, frame::toDisplayUnits(header.GateBWidth_um, units));

    decodeReadings(header, block, row);
}

bool FrameTables::create(hid_t frames, hsize_t rows, std::string& error) {
    if (m_layout.envelope) {
        m_secondHeader = createGroup(frames, "SecondFrameHeader");
        if (!m_secondHeader.valid()) {
            error = libraryError("cannot make /frames/SecondFrameHeader");
            return false;
        }
    }
    if (!m_layout.valid()) {
        error = libraryError("cannot make the readings' unit type");
        return false;
    }
    m_tables.resize(m_layout.columns().size());
    for (std::size_t c = 0; c < m_tables.size(); ++c) {
        const ColumnShape& shape = m_layout.columns()[c];
        if (!m_tables[c].create(frames, shape.name.c_str(), shape.type, rows, shape.width, m_compression) ||
            (shape.unit != nullptr &&
             !writeAttribute(m_tables[c].id(), "unit", std::string_view(shape.unit)))) {
            error = libraryError("cannot make /frames/" + shape.name);
            return false;
        }
    }
    return true;
}

bool FrameTables::write(const FrameBlock& block, std::string& error) {
    if (block.rows == 0) return true;
    const bool compressed = m_compression > 0 && block.stored.size() == m_tables.size();
    for (std::size_t c = 0; c < m_tables.size(); ++c) {
        if (compressed ? !m_tables[c].writeStored(m_written, block.stored[c])
                       : !m_tables[c].write(m_written, block.rows, block.columns[c].data())) {
            error = libraryError("cannot write /frames/" + m_layout.columns()[c].name);
            return false;
        }
    }
    m_written += block.rows;
    return true;
}

bool FrameTables::close(std::string& error) {
    bool ok = true;
    for (FrameTable& table : m_tables)
        ok = table.close() && ok;
    ok = m_secondHeader.reset() && ok;
    if (!ok) error = libraryError("cannot close /frames");
    return ok;
}

} // namespace pelix::hdf5
