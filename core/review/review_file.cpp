#include "core/review/review_file.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace pelix::review {

namespace {

constexpr std::array<InspectionField, 16> kInspectionFields = {{
    {"PartId", "Part / weld", &InspectionDetails::PartId},
    {"Location", "Location", &InspectionDetails::Location},
    {"Procedure", "Procedure", &InspectionDetails::Procedure},
    {"ProcedureRevision", "Procedure revision", &InspectionDetails::ProcedureRevision},
    {"AcceptanceStandard", "Acceptance standard", &InspectionDetails::AcceptanceStandard},
    {"Operator", "Operator", &InspectionDetails::Operator},
    {"CertificationLevel", "Certification level", &InspectionDetails::CertificationLevel},
    {"Instrument", "Instrument", &InspectionDetails::Instrument},
    {"InstrumentSerial", "Instrument serial no.", &InspectionDetails::InstrumentSerial},
    {"Probe", "Probe", &InspectionDetails::Probe},
    {"ProbeSerial", "Probe serial no.", &InspectionDetails::ProbeSerial},
    {"CalibrationBlock", "Calibration block", &InspectionDetails::CalibrationBlock},
    {"Couplant", "Couplant", &InspectionDetails::Couplant},
    {"ReferenceGain", "Reference gain", &InspectionDetails::ReferenceGain},
    {"Date", "Date", &InspectionDetails::Date},
    {"Notes", "Notes", &InspectionDetails::Notes},
}};

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool sameGate(const std::optional<frame::DraggedGate>& a, const std::optional<frame::DraggedGate>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->start == b->start && a->threshold == b->threshold);
}

bool sameBox(const std::optional<search::SearchLimits>& a, const std::optional<search::SearchLimits>& b) {
    if (a.has_value() != b.has_value()) return false;
    return !a || (a->SearchLowwidthRange == b->SearchLowwidthRange &&
                  a->SearchUpwidthRange == b->SearchUpwidthRange &&
                  a->SearchLowhightlimit == b->SearchLowhightlimit &&
                  a->SearchUphightlimit == b->SearchUphightlimit);
}

} // namespace

std::span<const InspectionField> inspectionFields() {
    return kInspectionFields;
}

const InspectionField* findInspectionField(std::string_view key) {
    const auto it = std::find_if(kInspectionFields.begin(), kInspectionFields.end(),
                                 [&](const InspectionField& f) { return sameLetters(f.key, key); });
    return it == kInspectionFields.end() ? nullptr : &*it;
}

bool isOutOfRange(const Bookmark& mark, int64_t frameCount) {
    return mark.frame < 1 || mark.frame > frameCount;
}

bool operator==(const LastSession& a, const LastSession& b) {
    return a.frame == b.frame && sameGate(a.gateA, b.gateA) && sameGate(a.gateB, b.gateB) &&
           sameBox(a.searchBox, b.searchBox) && a.aviRange == b.aviRange && a.windows == b.windows;
}

void addBookmark(ReviewFile& review, Bookmark mark) {
    auto& marks = review.bookmarks;
    const auto after = std::upper_bound(marks.begin(), marks.end(), mark.frame,
                                        [](int64_t frame, const Bookmark& m) { return frame < m.frame; });
    marks.insert(after, std::move(mark));
}

std::size_t deleteBookmarksAt(ReviewFile& review, int64_t frame) {
    return static_cast<std::size_t>(
        std::erase_if(review.bookmarks, [&](const Bookmark& m) { return m.frame == frame; }));
}

void sortBookmarks(std::vector<Bookmark>& marks) {
    std::stable_sort(marks.begin(), marks.end(),
                     [](const Bookmark& a, const Bookmark& b) { return a.frame < b.frame; });
}

std::string isoUtc(std::time_t when) {
    std::tm utc{};
    if (!::gmtime_r(&when, &utc)) return {};
    std::array<char, 32> text{};
    const std::size_t n = std::strftime(text.data(), text.size(), "%Y-%m-%dT%H:%M:%SZ", &utc);
    return std::string(text.data(), n);
}

} // namespace pelix::review
