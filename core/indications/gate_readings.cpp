#include "core/indications/gate_readings.h"

#include "core/evaluation/reading_number.h"
#include "core/evaluation/recorded_readings.h"

#include <charconv>

namespace pelix::indications {

namespace {

// The number a reading text shows, read without the locale.
std::optional<double> shownNumber(const evaluation::ReadingNumber& n) {
    const std::string_view digits = n.number();
    if (digits.empty()) return std::nullopt;
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

std::string captionOf(int32_t code) {
    std::string name = evaluation::readingName(code, 0, 0, 0);
    if (!name.empty() && name.back() == '=') name.pop_back();
    return name;
}

} // namespace

std::string_view quantityKey(GateQuantity quantity) {
    switch (quantity) {
    case GateQuantity::SoundPath:
        return "SoundPath";
    case GateQuantity::Depth:
        return "Depth";
    case GateQuantity::Projection:
        return "Projection";
    case GateQuantity::DbToReference:
        return "DbToReference";
    }
    return "";
}

int32_t readingCode(Gate gate, GateQuantity quantity) {
    // The instrument's reading codes: SA/SB, DA/DB, PA/PB, dBrA/dBrB.
    const bool a = gate == Gate::A;
    switch (quantity) {
    case GateQuantity::SoundPath:
        return a ? 3 : 4;
    case GateQuantity::Depth:
        return a ? 6 : 10;
    case GateQuantity::Projection:
        return a ? 7 : 11;
    case GateQuantity::DbToReference:
        return a ? 17 : 18;
    }
    return 0;
}

std::optional<std::size_t> readingSlot(const recording::RecordingHeader& setup, Gate gate,
                                       GateQuantity quantity) {
    const int32_t code = readingCode(gate, quantity);
    for (std::size_t slot = 0; slot < recording::kReadingSlots; ++slot)
        if (setup.ReadingCodes[slot] == code) return slot;
    return std::nullopt;
}

std::vector<GateReading> gateReadings(const recording::RecordingHeader& setup, float displayVelocity,
                                      const recording::FrameHeader& frame, Gate gate) {
    std::vector<GateReading> readings;
    for (const GateQuantity quantity : kGateQuantities) {
        const std::optional<std::size_t> slot = readingSlot(setup, gate, quantity);
        if (!slot) continue;
        const evaluation::RecordedReading recorded = evaluation::recordedReading(setup, frame, *slot);
        GateReading reading;
        reading.quantity = quantity;
        reading.name = captionOf(recorded.code);
        reading.text = evaluation::recordedValueText(recorded, setup, displayVelocity);
        reading.held = evaluation::readingHeld(recorded);
        const evaluation::ReadingNumber n = evaluation::readingNumber(reading.text);
        reading.number = shownNumber(n);
        reading.unit = std::string(n.unit);
        readings.push_back(std::move(reading));
    }
    return readings;
}

std::vector<GateReading>
gateReadings(const recording::RecordingHeader& setup,
             const std::array<evaluation::CalReading, recording::kReadingSlots>& texts, Gate gate) {
    std::vector<GateReading> readings;
    for (const GateQuantity quantity : kGateQuantities) {
        const std::optional<std::size_t> slot = readingSlot(setup, gate, quantity);
        if (!slot) continue;
        GateReading reading;
        reading.quantity = quantity;
        reading.name = captionOf(setup.ReadingCodes[*slot]);
        reading.text = texts[*slot].text;
        reading.held = !texts[*slot].current;
        const evaluation::ReadingNumber n = evaluation::readingNumber(reading.text);
        reading.number = shownNumber(n);
        reading.unit = std::string(n.unit);
        readings.push_back(std::move(reading));
    }
    return readings;
}

std::optional<double> decibelsShown(std::string_view text) {
    const evaluation::ReadingNumber n = evaluation::readingNumber(text);
    if (n.unit != "dB") return std::nullopt;
    return shownNumber(n);
}

std::optional<double> recordedDbToReference(const recording::RecordingHeader& setup,
                                            const recording::FrameHeader& frame, Gate gate) {
    const std::optional<std::size_t> slot = readingSlot(setup, gate, GateQuantity::DbToReference);
    if (!slot) return std::nullopt;
    // A decibel reading needs no velocity; a slot that records something else shows no dB.
    return decibelsShown(
        evaluation::recordedValueText(evaluation::recordedReading(setup, frame, *slot), setup, 0.0f));
}

DbToReferenceOf recordedDbToReferenceOf(const recording::RecordingHeader& setup, Gate gate) {
    // Without such a slot no frame has a reading: the headers need not be decoded.
    if (!readingSlot(setup, gate, GateQuantity::DbToReference))
        return [](const uint8_t*) { return std::optional<double>(); };
    return [&setup, gate](const uint8_t* header) {
        return recordedDbToReference(setup, recording::decodeFrameHeader(header), gate);
    };
}

} // namespace pelix::indications
