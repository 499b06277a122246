#include "core/evaluation/recorded_readings.h"

#include "core/numbers/number_format.h"

#include <array>

namespace pelix::evaluation {

using numbers::formatFixed;
using numbers::roundHalfEven;

namespace {

// Which gate's search mode marks a reading's name.
enum class MarkFrom { Unmarked, None, GateA, GateB };

struct SlotName {
    const char* name;
    MarkFrom mark;
};

constexpr std::array<SlotName, 22> kSlotNames = {{
    {"", MarkFrom::Unmarked},    // 0 empty slot
    {"A%A", MarkFrom::None},     // 1
    {"A%B", MarkFrom::None},     // 2
    {"SA", MarkFrom::GateA},     // 3
    {"SB", MarkFrom::GateB},     // 4
    {"SBA", MarkFrom::Unmarked}, // 5, form chosen by the gate modes
    {"DA", MarkFrom::GateA},     // 6
    {"PA", MarkFrom::GateA},     // 7
    {"RA", MarkFrom::GateA},     // 8
    {"LA", MarkFrom::GateA},     // 9
    {"DB", MarkFrom::GateB},     // 10
    {"PB", MarkFrom::GateB},     // 11
    {"RB", MarkFrom::GateB},     // 12
    {"LB", MarkFrom::GateB},     // 13
    {"ERS", MarkFrom::Unmarked}, // 14
    {"GT", MarkFrom::None},      // 15
    {"GR", MarkFrom::None},      // 16
    {"dBrA", MarkFrom::None},    // 17
    {"dBrB", MarkFrom::None},    // 18
    {"A%rA", MarkFrom::None},    // 19
    {"A%rB", MarkFrom::None},    // 20
    {"CLS", MarkFrom::None},     // 21
}};

constexpr const char* kNoValue = "-----";

int32_t lowByte(int32_t word) {
    return word & 0xFF;
}

} // namespace

std::string readingName(int32_t code, int32_t mode, int32_t gateAMode, int32_t gateBMode) {
    if (code < 0 || code >= static_cast<int32_t>(kSlotNames.size())) return "";
    const SlotName& slot = kSlotNames[static_cast<std::size_t>(code)];
    std::string name = slot.name;
    if (code == 5) {
        // Upper case marks a gate that measures at the peak, lower case at the flank.
        static constexpr const char* kForms[2][2] = {{"SBA", "SbA"}, {"SBa", "Sba"}};
        name = kForms[gateAMode != 0][gateBMode != 0];
    }
    if (name.empty()) return name;
    if (mode == 2 || mode == 3) {
        switch (slot.mark) {
        case MarkFrom::Unmarked:
            break;
        case MarkFrom::None:
            name += '^';
            break;
        case MarkFrom::GateA:
            name += gateAMode != 0 ? '/' : '^';
            break;
        case MarkFrom::GateB:
            name += gateBMode != 0 ? '/' : '^';
            break;
        }
    }
    return name + "=";
}

std::optional<int64_t> zoneNumber(int64_t path_um, bool variableLengths, const int32_t* zoneLengths,
                                  std::size_t count) {
    if (count == 0) return std::nullopt;
    if (variableLengths) {
        int64_t end = 0;
        for (std::size_t k = 0; k < count; ++k) {
            end += zoneLengths[k];
            if (end >= path_um) return static_cast<int64_t>(k) + 1;
        }
        return std::nullopt;
    }
    // Equal zones; a zero length would divide by zero, and no zone holds the path then.
    if (zoneLengths[0] == 0) return std::nullopt;
    return roundHalfEven(static_cast<double>(path_um + 1) / zoneLengths[0]) + 1;
}

RecordedReading recordedReading(const recording::RecordingHeader& setup, const recording::FrameHeader& frame,
                                std::size_t slot) {
    RecordedReading r;
    r.code = setup.ReadingCodes[slot];
    r.noValue = frame.ReadingNoValue[slot];
    r.live = frame.ReadingLive[slot];
    r.value = frame.ReadingValue[slot];
    r.kind = frame.ReadingKind[slot];
    r.clipped = frame.ReadingClipped[slot];
    return r;
}

bool readingHeld(const RecordedReading& reading) {
    return lowByte(reading.noValue) == 0 && lowByte(reading.live) == 0;
}

std::string recordedValueText(const RecordedReading& reading, const recording::RecordingHeader& setup,
                              float displayVelocity, char decimalPoint) {
    if (reading.code == 0) return "";
    const bool noValue = lowByte(reading.noValue) == 1;
    const int64_t v = reading.value;
    switch (static_cast<ReadingKind>(lowByte(reading.kind))) {
    case ReadingKind::Integer:
    case ReadingKind::Text:
        return noValue ? kNoValue : std::to_string(v);
    case ReadingKind::Percent:
        if (noValue) return std::string(kNoValue) + "% ";
        return (lowByte(reading.clipped) != 0 ? ">" : "") + std::to_string(v) + "% ";
    case ReadingKind::Distance:
        if (noValue) return kNoValue;
        if (setup.Units == 1) return formatFixed(static_cast<double>(v) / 25400.0, 3, decimalPoint) + "in";
        if (setup.Units == 2) {
            // A path turns into a round-trip time; without a velocity there is none.
            if (displayVelocity == 0.0f) return kNoValue;
            return formatFixed(2.0 * static_cast<double>(v) / displayVelocity, 3, decimalPoint) + "us";
        }
        return formatFixed(static_cast<double>(v) / 1000.0, 2, decimalPoint) + "mm";
    case ReadingKind::Zone: {
        if (noValue || v <= 0) return kNoValue;
        const auto zone =
            zoneNumber(v, setup.ZoneLengthsVariable != 0, setup.ZoneLengths.data(), setup.ZoneLengths.size());
        return zone ? std::to_string(*zone) : kNoValue;
    }
    case ReadingKind::Decibel:
        if (noValue || v <= 0) return std::string(kNoValue) + "dB";
        return formatFixed(static_cast<double>(v) / 10.0, 1, decimalPoint) + "dB";
    case ReadingKind::None:
    default:
        return "";
    }
}

RecordedReadingTexts::RecordedReadingTexts(const recording::RecordingHeader& setup, float displayVelocity)
    : m_setup(setup), m_velocity(displayVelocity) {
    for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b)
            for (std::size_t i = 0; i < recording::kReadingSlots; ++i)
                m_names[a][b][i] = readingName(setup.ReadingCodes[i], setup.ReadingModes[i], a, b);
}

const std::string& RecordedReadingTexts::valueText(std::size_t slot, const RecordedReading& reading) {
    Cached& c = m_values.at(slot);
    const bool same = c.reading.code == reading.code && c.reading.noValue == reading.noValue &&
                      c.reading.live == reading.live && c.reading.value == reading.value &&
                      c.reading.kind == reading.kind && c.reading.clipped == reading.clipped;
    if (!c.valid || !same) {
        c.reading = reading;
        c.text = recordedValueText(reading, m_setup, m_velocity);
        c.valid = true;
        ++c.revision;
    }
    return c.text;
}

} // namespace pelix::evaluation
