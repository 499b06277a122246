// Walks the raw records through their layout tables, so every dump of a
// recording (`pelix info` and `pelix frame`, the HDF5 export) lists every
// field by the name and in the order the layout gives, without a field list of
// its own, and decodes each field the same one way.
#pragma once

#include "core/recording/record_layout.h"
#include "core/recording/recording_header.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace pelix::recording {

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

// Every setup field by name, in file order; the TCG point table has its own
// walk (forEachTcgColumn). `raw` is the setup record as stored, `header` its decoding.
template <typename VisitWord, typename VisitArray>
void forEachSetupField(const uint8_t* raw, const RecordingHeader& header, VisitWord&& visitWord,
                       VisitArray&& visitArray) {
    const auto inPointTable = [](const layout::Field& f) {
        return f.offset == rh::ulNumOfStoredPoints.offset || f.offset == rh::TCGPoints.offset;
    };
    forEachRecordField(
        rh::kFields, raw, inPointTable,
        [&](const layout::Field& f, int32_t v) {
            // The instrument takes Units as a byte.
            visitWord(f.name, f.offset == rh::Units.offset ? int32_t{header.Units} : v);
        },
        [&](const layout::Field& f, const std::vector<int32_t>& a) { visitArray(f.name, a); });
}

// The named columns of the sixteen TCG points, all sixteen rows whatever ulNumOfStoredPoints says.
template <typename Visit> void forEachTcgColumn(const uint8_t* raw, Visit&& visit) {
    for (const layout::Field& column : tp::kFields) {
        std::vector<int32_t> rows(kTcgPoints);
        for (std::size_t k = 0; k < kTcgPoints; ++k)
            rows[k] = layout::readTcgPoint(raw, k, column);
        visit(column.name, rows);
    }
}

// Every word of a frame header by name: single words, then the per-slot arrays.
template <typename VisitWord, typename VisitArray>
void forEachFrameField(const uint8_t* header, VisitWord&& visitWord, VisitArray&& visitArray) {
    forEachRecordField(
        fh::kFields, header, [](const layout::Field&) { return false; },
        [&](const layout::Field& f, int32_t v) { visitWord(f.name, v); },
        [&](const layout::Field& f, const std::vector<int32_t>& a) { visitArray(f.name, a); });
}

} // namespace pelix::recording
