// What the tool adds to each reading slot so that a table says what the
// window says with its colours: the number and unit of the value text, and
// whether the value is held (kept from an earlier frame, not measured in this one).
#pragma once

#include "core/recording/frame_header.h"
#include "tools/pelix/json_writer.h"

#include <array>
#include <cstdint>

#include <string>
#include <string_view>

namespace pelix::tool {

// "Number1,Unit1,Held1,...,Number7,Unit7,Held7" with its leading comma.
std::string readingColumnsHeader();
// ",20.8,mm,1": the slot's three columns, with their leading comma.
void appendReadingColumns(std::string& out, std::string_view valueText, bool held);

// The same columns frame after frame: successive frames mostly repeat a slot's
// reading, so each slot's columns are made again only when the revision of its
// value text (`evaluation::RecordedReadingTexts::valueRevision`, which also covers the held
// flag) changes.
class ReadingColumnsCache {
  public:
    void append(std::string& out, std::size_t slot, uint64_t revision, std::string_view valueText, bool held);
    // The same where the texts carry no revision (a re-measure's): made again when the slot's text
    // or held flag differs from the frame before's.
    void append(std::string& out, std::size_t slot, std::string_view valueText, bool held);

  private:
    struct Entry {
        bool valid = false;
        uint64_t revision = 0;
        std::string columns;
    };
    struct TextEntry {
        bool valid = false;
        bool held = false;
        std::string text;
        std::string columns;
    };
    std::array<Entry, recording::kReadingSlots> m_entries;
    std::array<TextEntry, recording::kReadingSlots> m_byText;
};
// "number" (null without one), "unit" and "held" of an open reading object.
void writeReadingKeys(JsonWriter& w, std::string_view valueText, bool held);
// The value as the text table shows it: a held value ends in '*'.
void appendMarkedValue(std::string& out, std::string_view valueText, bool held);

} // namespace pelix::tool
