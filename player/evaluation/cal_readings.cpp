#include "player/evaluation/cal_readings.h"

#include "platform/library_binding.h"

#include <pelix_cal.h>

#include <cctype>
#include <cstdlib>
#include <cstring>

namespace pelix::player {

bool CalReadings::bind() {
    if (m_bound) return true;
    auto& cal = platform::LibraryBinding::pelixCal();
    m_setHeaderData = cal.require<SetHeaderDataFn>("SetHeaderData");
    m_updateGateData = cal.require<UpdateGateDataFn>("UpdateGateData");
    m_format = cal.require<FormatFn>("FormatCVRsltValue");
    m_caret = cal.require<CaretFn>("CVUpdatedCaret");
    m_bound = m_setHeaderData && m_updateGateData && m_format && m_caret;
    return m_bound;
}

void CalReadings::SetHeaderData(const uint8_t* recordingHeader, const uint8_t* frameHeader) {
    if (bind()) m_setHeaderData(recordingHeader, frameHeader);
}

void CalReadings::UpdateGateData(const evaluation::GateDataArray& gates) {
    if (bind()) m_updateGateData(gates.data());
}

CalReading CalReadings::FormatCVRsltValue(int32_t slot) {
    CalReading out;
    if (!bind()) return out;
    ReadingResult result{};
    m_format(slot, &result);
    // The text is at most 33 characters and NUL-terminated; trust neither.
    const std::size_t length = strnlen(result.text, sizeof result.text);
    std::size_t first = 0, last = length;
    while (first < last && result.text[first] == ' ')
        ++first;
    while (last > first && result.text[last - 1] == ' ')
        --last;
    out.text.assign(result.text + first, last - first);
    out.current = result.current != 0;
    return out;
}

CalCarets CalReadings::CVUpdatedCaret() {
    CalCarets c;
    if (bind()) m_caret(&c.aTriggered, &c.aCaret, &c.bTriggered, &c.bCaret);
    return c;
}

double leadingNumber(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    const std::size_t digitsFrom = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
    }
    const std::string number = text.substr(start, i - start);
    if (i == digitsFrom || number == "-" || number == "+" || number == "." || number == "-." ||
        number == "+.")
        return 0.0;
    return std::strtod(number.c_str(), nullptr);
}

} // namespace pelix::player
