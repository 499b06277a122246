#include "tools/pelix/summary_table.h"

#include "core/numbers/number_format.h"
#include "tools/pelix/json_writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pelix::tool {

using batch::GateSummary;
using batch::RecordingSummary;
using batch::SummaryStatus;

namespace {

constexpr const char* kGateNames[] = {"GateA", "GateB"};
constexpr const char* kGateLetters[] = {"A", "B"};
// A longer name pushes its own row out rather than widening every row.
constexpr int kWidestNameColumn = 48;

std::string durationText(int64_t hundredths) {
    return numbers::formatFixed(static_cast<double>(hundredths) / 100.0, 2);
}

std::string padded(const std::string& text, int width, bool right) {
    const auto missing =
        static_cast<std::size_t>(std::max<int64_t>(width - static_cast<int64_t>(text.size()), 0));
    return right ? std::string(missing, ' ') + text : text + std::string(missing, ' ');
}

std::size_t statusIndex(SummaryStatus status) {
    return static_cast<std::size_t>(status);
}

} // namespace

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quotedText = "\"";
    for (const char c : text) {
        if (c == '"') quotedText += '"';
        quotedText += c;
    }
    return quotedText + '"';
}

std::string shortSizeText(int64_t bytes) {
    if (bytes < 0) return "?";
    if (bytes < 1024) return std::to_string(bytes) + " B";
    static constexpr const char* kUnits[] = {"KiB", "MiB", "GiB", "TiB"};
    double value = static_cast<double>(bytes) / 1024.0;
    std::size_t unit = 0;
    while (value >= 1024.0 && unit + 1 < std::size(kUnits)) {
        value /= 1024.0;
        ++unit;
    }
    return numbers::formatFixed(value, 1) + " " + kUnits[unit];
}

SummaryTable::SummaryTable(SummaryFormat format, SummaryColumns columns,
                           const std::vector<std::string>& paths)
    : m_format(format), m_columns(columns) {
    for (const std::string& path : paths)
        m_nameWidth =
            std::max(m_nameWidth, static_cast<int>(std::min<std::size_t>(path.size(), kWidestNameColumn)));
}

std::string SummaryTable::begin() const {
    if (m_format == SummaryFormat::Json) return "[";
    if (m_format == SummaryFormat::Csv) {
        std::string header = "File,Status,Reason,SizeBytes,Version,Frames,DurationSeconds,FramesPerSecond,"
                             "Envelope,Flags,FlagCount,EvaluationMode,TrailingBytes";
        for (std::size_t g = 0; g < 2; ++g) {
            if (!shows(g)) continue;
            for (const char* key : {"Largest", "LargestFrame", "Level", "FramesAtLevel", "Indications"})
                header += std::string(",") + kGateNames[g] + key;
        }
        return header + "\n";
    }
    std::string header = padded("File", m_nameWidth, false) +
                         "  Status          Size  Ver    Frames     Length  Rate  Flags  Evaluation";
    for (std::size_t g = 0; g < 2; ++g) {
        if (!shows(g)) continue;
        const std::string x = kGateLetters[g];
        header += "  " + padded(x + " max", 5, true) + "  " + padded(x + " at", 8, true) + "  " +
                  padded(x + " lvl", 5, true) + "  " + padded(x + " >=lvl", 8, true) + "  " +
                  padded(x + " ind", 5, true);
    }
    return header + "\n";
}

std::string SummaryTable::row(const RecordingSummary& row) {
    ++m_rows;
    ++m_counts[statusIndex(row.status)];
    if (m_format == SummaryFormat::Json) return (m_rows > 1 ? ",\n" : "\n") + jsonRow(row);
    if (m_format == SummaryFormat::Csv) return csvRow(row);
    return textRow(row);
}

std::string SummaryTable::end() const {
    if (m_format == SummaryFormat::Json) return "\n]\n";
    if (m_format == SummaryFormat::Csv) return {};
    const auto count = [this](SummaryStatus status) { return m_counts[statusIndex(status)]; };
    std::string totals = std::to_string(m_rows) + (m_rows == 1 ? " recording: " : " recordings: ") +
                         std::to_string(count(SummaryStatus::Read) + count(SummaryStatus::CutShort)) +
                         " read";
    if (count(SummaryStatus::CutShort) > 0)
        totals += " (" + std::to_string(count(SummaryStatus::CutShort)) + " cut short)";
    totals += ", " + std::to_string(count(SummaryStatus::Rejected)) + " rejected, " +
              std::to_string(count(SummaryStatus::Unreadable)) + " unreadable.\n";
    return totals;
}

std::string SummaryTable::textRow(const RecordingSummary& row) const {
    std::string line = padded(row.path, m_nameWidth, false) + "  " +
                       padded(batch::statusWord(row.status), 10, false) + "  " +
                       padded(shortSizeText(row.sizeBytes), 10, true);
    if (!row.wasRead()) return line + "  " + row.reason + "\n";
    char setup[96];
    std::snprintf(setup, sizeof setup, "  %3d  %8d  %9s  %4d  %5d  ", row.version, row.frames,
                  (durationText(row.durationHundredths) + " s").c_str(), row.framesPerSecond,
                  row.flaggedFrames);
    line += setup;
    line += padded(row.evaluationMode, 10, false);
    for (std::size_t g = 0; g < 2; ++g) {
        if (!shows(g)) continue;
        const GateSummary& gate = row.gates[g];
        line += "  " + padded(gate.largest ? std::to_string(*gate.largest) + "%" : "off", 5, true) + "  " +
                padded(gate.largest ? std::to_string(gate.largestFrame) : "-", 8, true) + "  " +
                padded(std::to_string(gate.level) + "%", 5, true) + "  " +
                padded(std::to_string(gate.framesAtLevel), 8, true) + "  " +
                padded(std::to_string(gate.indications), 5, true);
    }
    if (row.trailingBytes > 0)
        line += "  (" + std::to_string(row.trailingBytes) + " bytes of a cut-short frame after the last)";
    return line + "\n";
}

std::string SummaryTable::csvRow(const RecordingSummary& row) const {
    std::string line =
        csvField(row.path) + ',' + batch::statusWord(row.status) + ',' + csvField(row.reason) + ',';
    if (row.sizeBytes >= 0) line += std::to_string(row.sizeBytes);
    if (!row.wasRead()) {
        // The columns a rejected file has no value for stay empty.
        const int empty = 9 + 5 * ((m_columns.gateA ? 1 : 0) + (m_columns.gateB ? 1 : 0));
        return line + std::string(static_cast<std::size_t>(empty), ',') + "\n";
    }
    for (const std::string& v :
         {std::to_string(row.version), std::to_string(row.frames), durationText(row.durationHundredths),
          std::to_string(row.framesPerSecond), std::string(row.envelope ? "1" : "0"),
          std::to_string(row.flaggedFrames), std::to_string(row.flagCount), csvField(row.evaluationMode),
          std::to_string(row.trailingBytes)})
        line += ',' + v;
    for (std::size_t g = 0; g < 2; ++g) {
        if (!shows(g)) continue;
        const GateSummary& gate = row.gates[g];
        line += ',' + (gate.largest ? std::to_string(*gate.largest) : std::string()) + ',' +
                (gate.largest ? std::to_string(gate.largestFrame) : std::string()) + ',' +
                std::to_string(gate.level) + ',' + std::to_string(gate.framesAtLevel) + ',' +
                std::to_string(gate.indications);
    }
    return line + "\n";
}

std::string SummaryTable::jsonRow(const RecordingSummary& row) const {
    JsonWriter w;
    // The writer puts a number that is not finite as null: what a missing value is in JSON.
    const auto nothing = [&w](std::string_view key) { w.field(key, std::nan("")); };
    const auto text = [&](std::string_view key, const std::string& v, bool present) {
        if (present)
            w.field(key, std::string_view(v));
        else
            nothing(key);
    };
    const auto number = [&](std::string_view key, int64_t v, bool present) {
        if (present)
            w.field(key, v);
        else
            nothing(key);
    };
    const bool read = row.wasRead();
    w.beginObject();
    text("File", row.path, true);
    text("Status", batch::statusWord(row.status), true);
    text("Reason", row.reason, !row.reason.empty());
    number("SizeBytes", row.sizeBytes, row.sizeBytes >= 0);
    number("Version", row.version, read);
    number("Frames", row.frames, read);
    if (read)
        w.field("DurationSeconds", static_cast<double>(row.durationHundredths) / 100.0);
    else
        nothing("DurationSeconds");
    number("FramesPerSecond", row.framesPerSecond, read);
    if (read)
        w.field("Envelope", row.envelope);
    else
        nothing("Envelope");
    number("Flags", row.flaggedFrames, read);
    number("FlagCount", row.flagCount, read);
    text("EvaluationMode", row.evaluationMode, read);
    number("TrailingBytes", row.trailingBytes, read);
    for (std::size_t g = 0; g < 2; ++g) {
        if (!shows(g)) continue;
        const GateSummary& gate = row.gates[g];
        const std::string prefix = kGateNames[g];
        number(prefix + "Largest", gate.largest.value_or(0), read && gate.largest);
        number(prefix + "LargestFrame", gate.largestFrame, read && gate.largest);
        number(prefix + "Level", gate.level, read);
        number(prefix + "FramesAtLevel", gate.framesAtLevel, read);
        number(prefix + "Indications", gate.indications, read);
    }
    w.endObject();
    return w.text();
}

} // namespace pelix::tool
