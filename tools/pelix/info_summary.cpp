#include "tools/pelix/info_summary.h"

#include "core/frame/frame_arithmetic.h"
#include "core/numbers/number_format.h"
#include "core/recording/frame_header_scan.h"
#include "core/report/report_summary.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <optional>
#include <vector>

namespace pelix::tool {

using namespace pelix::recording;

namespace {

std::string magicText(const OpenRecording& rec) {
    std::string text;
    for (std::size_t i = 0; i < std::size(kMagicBytes); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned>(rec.rawHeader()[i]));
        text += (i == 0 ? "" : " ") + std::string(hex);
    }
    return text;
}

// Where the picture starts and how much sound path it shows, as the parameter panel gives them.
std::string displayWindowText(const OpenRecording& rec) {
    const frame::UnitConstants units = frame::unitConstantsFor(rec.header().Units);
    const char* unit = rec.header().isInch() ? " in" : " mm";
    const auto length = [&](float v) { return numbers::formatFixed(v, units.lengthDecimals) + unit; };
    const DerivedSetup& d = rec.derived();
    return "start " + length(d.displayDelay) + ", range " + length(d.displayRange);
}

void insertAfter(report::SummaryRows& rows, const std::string& caption, std::string newCaption,
                 std::string value) {
    auto at = std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.first == caption; });
    if (at != rows.end()) ++at;
    rows.emplace(at, std::move(newCaption), std::move(value));
}

} // namespace

std::string infoSummary(const OpenRecording& rec) {
    std::optional<FrameHeader> firstFrame;
    std::vector<int32_t> flagged;
    if (rec.FrameCount() > 0)
        scanFrameHeaders(rec.file(), frameRecordLayout(rec), 1, rec.FrameCount(),
                         [&](int64_t frame, const uint8_t* header) {
                             const FrameHeader f = decodeFrameHeader(header);
                             if (frame == 1) firstFrame = f;
                             if (f.FrameFlag != 0) flagged.push_back(static_cast<int32_t>(frame));
                             return true;
                         });

    report::SummaryRows rows = report::recordingSummary(rec, firstFrame, flagged);
    // The report names the file; at a terminal the path as given says which one.
    if (!rows.empty() && rows.front().first == "File") rows.front().second = rec.path();
    insertAfter(rows, "Size", "Magic", magicText(rec));
    insertAfter(rows, "Rectification", "Display window", displayWindowText(rec));

    std::size_t width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    std::string out;
    for (const auto& [caption, value] : rows)
        out += caption + ":" + std::string(width + 2 - caption.size(), ' ') + value + "\n";
    return out;
}

} // namespace pelix::tool
