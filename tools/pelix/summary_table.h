// The rows of `pelix summary` as a person reads them (an aligned table with a
// line of totals), as CSV or as JSON, written one row at a time so that a long
// list of recordings streams.
#pragma once

#include "core/batch/recording_summary.h"

#include <string>
#include <vector>

namespace pelix::tool {

enum class SummaryFormat { Text, Csv, Json };

struct SummaryColumns {
    bool gateA = true;
    bool gateB = true;
};

class SummaryTable {
  public:
    // `paths` are the files as given: the text table sizes its first column by them.
    SummaryTable(SummaryFormat format, SummaryColumns columns, const std::vector<std::string>& paths);

    std::string begin() const;
    std::string row(const batch::RecordingSummary& row);
    std::string end() const;

  private:
    std::string textRow(const batch::RecordingSummary& row) const;
    std::string csvRow(const batch::RecordingSummary& row) const;
    std::string jsonRow(const batch::RecordingSummary& row) const;
    bool shows(std::size_t gate) const { return gate == 0 ? m_columns.gateA : m_columns.gateB; }

    SummaryFormat m_format;
    SummaryColumns m_columns;
    int m_nameWidth = 4;
    int64_t m_rows = 0;
    int64_t m_counts[4] = {}; // by status
};

// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& text);

// "512 B", "12.3 KiB", "6.0 MiB", "1.2 GiB": a size a person reads in a table.
std::string shortSizeText(int64_t bytes);

} // namespace pelix::tool
