#include "core/hdf5/frame_columns.h"

#include "core/evaluation/reading_number.h"
#include "core/frame/frame_arithmetic.h"
#include "core/recording/record_fields.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

namespace pelix::hdf5 {

using namespace pelix::recording;

std::size_t displayedSamples(int32_t rectification) {
    return rectification == 0 ? 2 * kSamplePairs : kSamplePairs;
}

struct FrameColumns::Column {
    std::string name;
    ElementType type;
    hsize_t width = 1;
    const char* unit = nullptr;
    FrameTable table;
    std::vector<unsigned char> rows; // the frames added since the last write

    void put(const void* values, std::size_t bytes) {
        const auto* p = static_cast<const unsigned char*>(values);
        rows.insert(rows.end(), p, p + bytes);
    }
    template <typename T> void put(T value) { put(&value, sizeof value); }
};

struct FrameColumns::FieldColumn {
    layout::Field field;
    Column* column = nullptr;
};

namespace {
// The readings' units are "mm", "in", "us", "%", "dB" or none.
constexpr std::size_t kUnitLength = 2;
} // namespace

FrameColumns::FrameColumns(const OpenRecording& recording, int compression)
    : m_recording(recording), m_compression(compression),
      m_samples(displayedSamples(recording.header().Rectification)),
      m_envelope(recording.header().isEnvelope()), m_lengthUnit(recording.header().isInch() ? "in" : "mm"),
      m_texts(recording.header(), recording.derived().velocity) {
    m_number = &column("number", int32Element(), 1);
    m_time = &column("time", float64Element(), 1, "s");
    m_flag = &column("flag", uint8Element(), 1);
    m_ascan = &column("ascan", uint8Element(), m_samples, "% of screen height");
    if (m_envelope)
        m_envelopeTrace = &column("ascan_envelope", uint8Element(), m_samples, "% of screen height");
    const char* gateNames[] = {"gate_a_start", "gate_a_width", "gate_b_start", "gate_b_width"};
    for (std::size_t g = 0; g < 4; ++g)
        m_gates[g] = &column(gateNames[g], float32Element(), 1, m_lengthUnit);
    m_readingNumber = &column("reading_number", float64Element(), kReadingSlots);
    m_unitType = fixedTextType(kUnitLength);
    m_readingUnit = &column("reading_unit", {m_unitType.id(), m_unitType.id(), kUnitLength}, kReadingSlots);
    m_readingHeld = &column("reading_held", uint8Element(), kReadingSlots);

    // Every frame header word by the name `pelix frame --json` gives it, in the same order.
    const auto fieldColumns = [&](std::vector<FieldColumn>& out, const char* prefix) {
        forEachRecordField(
            fh::kFields, std::array<uint8_t, kFrameHeaderBytes>{}.data(),
            [](const layout::Field&) { return false; },
            [&](const layout::Field& f, int32_t) {
                out.push_back({f, &column((prefix + std::string(f.name)).c_str(), int32Element(), 1)});
            },
            [&](const layout::Field& f, const std::vector<int32_t>&) {
                out.push_back({f, &column((prefix + std::string(f.name)).c_str(), int32Element(), f.count)});
            });
    };
    fieldColumns(m_fields, "");
    if (m_envelope) fieldColumns(m_secondFields, "SecondFrameHeader/");
}

FrameColumns::~FrameColumns() = default;

FrameColumns::Column& FrameColumns::column(const char* name, ElementType type, hsize_t width,
                                           const char* unit) {
    auto c = std::make_unique<Column>();
    c->name = name;
    c->type = type;
    c->width = width;
    c->unit = unit;
    c->rows.reserve(FrameTable::kChunkRows * width * type.size);
    m_columns.push_back(std::move(c));
    return *m_columns.back();
}

bool FrameColumns::create(hid_t frames, hsize_t rows, std::string& error) {
    if (m_envelope) {
        m_secondHeader = createGroup(frames, "SecondFrameHeader");
        if (!m_secondHeader.valid()) {
            error = libraryError("cannot make /frames/SecondFrameHeader");
            return false;
        }
    }
    if (!m_unitType.valid()) {
        error = libraryError("cannot make the readings' unit type");
        return false;
    }
    for (const auto& c : m_columns) {
        if (!c->table.create(frames, c->name.c_str(), c->type.memory, c->type.stored, rows, c->width,
                             m_compression) ||
            (c->unit != nullptr && !writeAttribute(c->table.id(), "unit", std::string_view(c->unit)))) {
            error = libraryError("cannot make /frames/" + c->name);
            return false;
        }
    }
    return true;
}

void FrameColumns::addHeader(std::vector<FieldColumn>& fields, const uint8_t* header) {
    for (const FieldColumn& f : fields)
        for (std::size_t i = 0; i < f.field.count; ++i)
            f.column->put(layout::read(header, f.field, i));
}

void FrameColumns::addReadings(const FrameHeader& header) {
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
            cached.unit.assign(n.unit.substr(0, kUnitLength));
            cached.unit.resize(kUnitLength, '\0');
            cached.revision = m_texts.valueRevision(slot);
            cached.valid = true;
        }
        m_readingNumber->put(cached.number);
        m_readingUnit->put(cached.unit.data(), kUnitLength);
        m_readingHeld->put(static_cast<uint8_t>(evaluation::readingHeld(reading) ? 1 : 0));
    }
}

void FrameColumns::add(int32_t number, const uint8_t* firstRecord, const uint8_t* secondRecord) {
    const RecordingHeader& setup = m_recording.header();
    const FrameHeader header = decodeFrameHeader(firstRecord);
    m_number->put(number);
    m_time->put(static_cast<double>(number - 1) / m_recording.framesPerSecond());
    m_flag->put(static_cast<uint8_t>(header.FrameFlag != 0 ? 1 : 0));

    // The trace as the display receives it; an unknown rectification decodes nothing and
    // leaves the trace as it was, as it does on screen.
    const auto putTrace = [&](Column& c, const uint8_t* record) {
        composeSamples(setup.Rectification, record + kFrameHeaderBytes, m_trace);
        const std::size_t at = c.rows.size();
        c.rows.resize(at + m_samples);
        for (std::size_t i = 0; i < m_samples; ++i)
            c.rows[at + i] = static_cast<unsigned char>(m_trace.AscanPoints[i]);
    };
    putTrace(*m_ascan, firstRecord);
    if (m_envelope && secondRecord != nullptr) putTrace(*m_envelopeTrace, secondRecord);

    const frame::UnitConstants units = frame::unitConstantsFor(setup.Units);
    const float gateAStart = frame::toDisplayUnits(header.GateAStart_um, units);
    const float caretOne = frame::toDisplayUnits(frame::soundPathA(setup, header), units);
    m_gates[0]->put(gateAStart);
    m_gates[1]->put(frame::toDisplayUnits(header.GateAWidth_um, units));
    m_gates[2]->put(frame::absoluteGateBStart(setup, header, gateAStart,
                                              frame::toDisplayUnits(header.GateBStart_um, units), caretOne));
    m_gates[3]->put(frame::toDisplayUnits(header.GateBWidth_um, units));

    addHeader(m_fields, firstRecord);
    if (m_envelope && secondRecord != nullptr) addHeader(m_secondFields, secondRecord);
    addReadings(header);
    ++m_pending;
}

bool FrameColumns::write(std::string& error) {
    if (m_pending == 0) return true;
    for (const auto& c : m_columns) {
        if (!c->table.write(m_written, m_pending, c->rows.data())) {
            error = libraryError("cannot write /frames/" + c->name);
            return false;
        }
        c->rows.clear();
    }
    m_written += m_pending;
    m_pending = 0;
    return true;
}

bool FrameColumns::close(std::string& error) {
    bool ok = true;
    for (const auto& c : m_columns)
        ok = c->table.close() && ok;
    ok = m_secondHeader.reset() && ok;
    ok = m_unitType.reset() && ok;
    if (!ok) error = libraryError("cannot close /frames");
    return ok;
}

} // namespace pelix::hdf5
