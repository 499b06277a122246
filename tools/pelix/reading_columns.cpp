#include "tools/pelix/reading_columns.h"

#include "core/evaluation/reading_number.h"
#include "core/indications/indication_texts.h"

#include <charconv>
#include <cmath>

namespace pelix::tool {

std::string readingColumnsHeader() {
    std::string header;
    for (std::size_t i = 1; i <= recording::kReadingSlots; ++i) {
        const std::string n = std::to_string(i);
        header += ",Number" + n + ",Unit" + n + ",Held" + n;
    }
    return header;
}

void appendReadingColumns(std::string& out, std::string_view valueText, bool held) {
    const evaluation::ReadingNumber n = evaluation::readingNumber(valueText);
    out += ',';
    out += n.number();
    out += ',';
    out += n.unit;
    out += ',';
    out += held ? '1' : '0';
}

void ReadingColumnsCache::append(std::string& out, std::size_t slot, uint64_t revision,
                                 std::string_view valueText, bool held) {
    if (slot >= m_entries.size()) {
        appendReadingColumns(out, valueText, held);
        return;
    }
    Entry& e = m_entries[slot];
    if (!e.valid || e.revision != revision) {
        e.valid = true;
        e.revision = revision;
        e.columns.clear();
        appendReadingColumns(e.columns, valueText, held);
    }
    out += e.columns;
}

void ReadingColumnsCache::append(std::string& out, std::size_t slot, std::string_view valueText, bool held) {
    if (slot >= m_byText.size()) {
        appendReadingColumns(out, valueText, held);
        return;
    }
    TextEntry& e = m_byText[slot];
    if (!e.valid || e.held != held || e.text != valueText) {
        e.valid = true;
        e.held = held;
        e.text = valueText;
        e.columns.clear();
        appendReadingColumns(e.columns, valueText, held);
    }
    out += e.columns;
}

void writeReadingKeys(JsonWriter& w, std::string_view valueText, bool held) {
    const evaluation::ReadingNumber n = evaluation::readingNumber(valueText);
    // Read without the locale: the window's process may run under one with a decimal comma.
    double number = std::nan(""); // written as null
    const std::string_view digits = n.number();
    if (!digits.empty()) std::from_chars(digits.data(), digits.data() + digits.size(), number);
    w.key("number");
    w.value(number);
    w.field("unit", n.unit);
    w.field("held", held);
}

void appendMarkedValue(std::string& out, std::string_view valueText, bool held) {
    out += indications::markedReadingText(valueText, held);
}

} // namespace pelix::tool
