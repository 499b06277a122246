#include "tools/pelix/reading_columns.h"

#include "core/evaluation/reading_number.h"
#include "core/indications/indication_texts.h"

#include <algorithm>
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

const CsvSlotCells::Cells& CsvSlotCells::of(std::size_t slot, std::string_view name,
                                            std::string_view valueText, bool held) {
    Entry& e = slot < m_entries.size() ? m_entries[slot] : m_spare;
    if (!e.valid || e.held != held || e.text != valueText || e.name != name) {
        e.valid = true;
        e.held = held;
        e.name = name;
        e.text = valueText;
        e.cells.nameAndValue.clear();
        e.cells.nameAndValue += ',';
        appendCsvField(e.cells.nameAndValue, name);
        e.cells.nameAndValue += ',';
        appendCsvField(e.cells.nameAndValue, valueText);
        e.cells.columns.clear();
        appendReadingColumns(e.cells.columns, valueText, held);
    }
    return e.cells;
}

void appendCsvField(std::string& out, std::string_view field) {
    const auto special = [](char c) { return c == ',' || c == '"' || c == '\n'; };
    if (std::none_of(field.begin(), field.end(), special)) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
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
