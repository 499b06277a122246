// Walks a raw record through its layout table, so the dumps of `pelix info`
// and `pelix frame` list every field by the name and in the order the layout
// gives, without a field list of their own.
#pragma once

#include "layout/record_layout.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelix::tool {

// Single words first, in file order, then the word arrays; fields that
// `skip` names (shown elsewhere) and records inside records are left out.
template <typename Skip, typename VisitWord, typename VisitArray>
void forEachRecordField(std::span<const layout::Field> fields, const uint8_t* record, Skip&& skip,
                        VisitWord&& visitWord, VisitArray&& visitArray) {
    for (const layout::Field& f : fields)
        if (f.count == 1 && f.width == 4 && !skip(f)) visitWord(f, layout::read(record, f));
    for (const layout::Field& f : fields) {
        if (f.count == 1 || f.width != 4 || skip(f)) continue;
        std::vector<int32_t> values(f.count);
        for (std::size_t i = 0; i < f.count; ++i)
            values[i] = layout::read(record, f, i);
        visitArray(f, values);
    }
}

} // namespace pelix::tool
