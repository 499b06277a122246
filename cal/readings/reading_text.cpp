#include "readings/reading_text.h"

#include "readings/millimetre_text.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

namespace pelix::cal::readings {

namespace {

// Appends to a fixed field, cutting off what does not fit.
class TextField {
  public:
    explicit TextField(char* out) : out_(out) { std::memset(out_, 0, kReadingTextBytes); }

    void append(std::string_view text) {
        const std::size_t room = kReadingTextBytes - 1 - length_;
        const std::size_t n = text.size() < room ? text.size() : room;
        std::memcpy(out_ + length_, text.data(), n);
        length_ += n;
    }

  private:
    char* out_;
    std::size_t length_ = 0;
};

// A buffer large enough for any int64 or any printed micrometre distance.
using NumberBuffer = char[64];

// `value` with `decimals` decimals, as printf's "%.*f" prints it (to_chars is specified to give
// the same digits, and runs without the locale at a fraction of the cost).
std::string_view printed(NumberBuffer& buffer, double value, int decimals) {
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, decimals);
    if (error == std::errc()) return {buffer, static_cast<std::size_t>(end - buffer)};
    // Longer than the buffer: cut as printf cuts it.
    const int n = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    if (n < 0) return {};
    return {buffer,
            static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n) : sizeof buffer - 1};
}

// `value` with at least `precision` digits, as printf's "%.*" PRId64 prints it. Written out by
// hand: the standard's integer to_chars would be instantiated here and exported with the library.
std::string_view printed(NumberBuffer& buffer, int64_t value, int precision = 1) {
    char digits[24];
    std::size_t count = 0;
    // The magnitude as unsigned, so that the most negative value has one too.
    uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    std::size_t n = 0;
    if (value < 0) buffer[n++] = '-';
    for (auto i = static_cast<int>(count); i < precision; ++i)
        buffer[n++] = '0';
    while (count > 0)
        buffer[n++] = digits[--count];
    return {buffer, n};
}

bool writeDistance(TextField& field, int64_t micrometres, const Setup& setup) {
    NumberBuffer number;
    const auto x = static_cast<double>(micrometres);
    switch (setup.units) {
    case 1:
        field.append(printed(number, x * 0.00003937008, 3));
        field.append("in");
        return true;
    case 2:
        if (setup.velocity == 0) return false;
        field.append(printed(number, x / setup.velocity * 20, 3));
        field.append("us");
        return true;
    default:
        field.append({number, writeMillimetres(number, micrometres)});
        field.append("mm");
        return true;
    }
}

// 0.1 dB as the instrument prints it: all digits but the last, a point, the last.
void writeDecibels(TextField& field, int64_t tenths) {
    NumberBuffer number;
    const std::string_view digits = printed(number, tenths, 2);
    field.append(digits.substr(0, digits.size() - 1));
    field.append(".");
    field.append(digits.substr(digits.size() - 1));
}

const char* unitOfNoValue(ReadingKind kind) {
    switch (kind) {
    case ReadingKind::Percent:
        return "%";
    case ReadingKind::Decibel:
        return "dB";
    default:
        return "";
    }
}

} // namespace

bool writeReadingText(const Reading& reading, const Setup& setup, char* out) {
    TextField field(out);
    if (reading.kind == ReadingKind::None) return false;

    bool shown = reading.hasValue;
    if (shown) {
        NumberBuffer number;
        switch (reading.kind) {
        case ReadingKind::Integer:
        case ReadingKind::Zone:
            field.append(printed(number, reading.value));
            break;
        case ReadingKind::Percent:
            if (reading.clipped) field.append(">");
            field.append(printed(number, reading.value));
            field.append("%");
            break;
        case ReadingKind::Distance:
            shown = writeDistance(field, reading.value, setup);
            break;
        case ReadingKind::Decibel:
            writeDecibels(field, reading.value);
            field.append("dB");
            break;
        case ReadingKind::Text:
            field.append(reading.text != nullptr ? reading.text : "");
            break;
        case ReadingKind::None:
            break;
        }
    }
    if (!shown) {
        field.append(kNoValue);
        field.append(unitOfNoValue(reading.kind));
    }
    return shown;
}

} // namespace pelix::cal::readings
