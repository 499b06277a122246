#include "readings/reading_text.h"

#include <cinttypes>
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

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

// A buffer large enough for any int64 or any printed micrometre distance.
using NumberBuffer = char[64];

std::string_view printed(NumberBuffer& buffer, const char* format, double value) {
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    if (n < 0) return {};
    return {buffer,
            static_cast<std::size_t>(n) < sizeof buffer ? static_cast<std::size_t>(n) : sizeof buffer - 1};
}

std::string_view printed(NumberBuffer& buffer, int64_t value, int precision = 1) {
    const int n = std::snprintf(buffer, sizeof buffer, "%.*" PRId64, precision, value);
    if (n < 0) return {};
    return {buffer, static_cast<std::size_t>(n)};
}

bool writeDistance(TextField& field, int64_t micrometres, const Setup& setup) {
    NumberBuffer number;
    const auto x = static_cast<double>(micrometres);
    switch (setup.units) {
    case 1:
        field.append(trimmed(printed(number, "%7.3f", x * 0.00003937008)));
        field.append("in");
        return true;
    case 2:
        if (setup.velocity == 0) return false;
        field.append(trimmed(printed(number, "%7.3f", x / setup.velocity * 20)));
        field.append("us");
        return true;
    default:
        field.append(trimmed(printed(number, "%8.2f", x * 0.001)));
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
