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

// A slot's cells of a CSV row frame after frame: ",Name,Value" and ",Number,Unit,Held". Successive
// frames mostly repeat a slot's reading, so a slot's cells are made again only when its name, value
// text or held flag differ from the frame before's.
class CsvSlotCells {
  public:
    struct Cells {
        std::string nameAndValue; // ",SA^=,20.80mm"
        std::string columns;      // ",20.80,mm,0"
    };
    const Cells& of(std::size_t slot, std::string_view name, std::string_view valueText, bool held);

  private:
    struct Entry {
        bool valid = false;
        bool held = false;
        std::string name;
        std::string text;
        Cells cells;
    };
    std::array<Entry, recording::kReadingSlots> m_entries;
    Entry m_spare; // for a slot number beyond the seven
};

// A CSV field: quoted (quotes doubled) when it holds a comma, a quote or a line break.
void appendCsvField(std::string& out, std::string_view field);
// "number" (null without one), "unit" and "held" of an open reading object.
void writeReadingKeys(JsonWriter& w, std::string_view valueText, bool held);
// The value as the text table shows it: a held value ends in '*'.
void appendMarkedValue(std::string& out, std::string_view valueText, bool held);

} // namespace pelix::tool
