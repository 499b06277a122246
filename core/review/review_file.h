// What a reviewer adds to a recording, as one value: the recording it belongs
// to, the inspection details, the bookmarks and where the last session left
// the window. review_json.h reads and writes it, review_store.h finds and
// keeps its file.
#pragma once

#include "core/frame/moved_gates.h"
#include "core/search/search_limits.h"

#include <cstdint>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pelix::review {

inline constexpr std::string_view kReviewFormat = "pelix-review";
inline constexpr int kReviewVersion = 1;

// Which recording the review belongs to. The SHA-256 decides; name and size
// are for people, and a size that differs is a quick "not this recording".
struct RecordingIdentity {
    std::string name; // the file name, without its folder
    std::uint64_t size = 0;
    std::string sha256; // 64 lower-case hexadecimal digits
    friend bool operator==(const RecordingIdentity&, const RecordingIdentity&) = default;
};

// What the report says about the inspection. Free texts: a reviewer types
// "42.5 dB" or "2026-12-08", and the file keeps what was typed.
struct InspectionDetails {
    std::string PartId; // part or weld identifier
    std::string Location;
    std::string Procedure;
    std::string ProcedureRevision;
    std::string AcceptanceStandard;
    std::string Operator;
    std::string CertificationLevel;
    std::string Instrument;
    std::string InstrumentSerial;
    std::string Probe;
    std::string ProbeSerial;
    std::string CalibrationBlock;
    std::string Couplant;
    std::string ReferenceGain;
    std::string Date;
    std::string Notes;
    friend bool operator==(const InspectionDetails&, const InspectionDetails&) = default;
};

// One inspection detail: its key in the file and on the command line, the
// caption a dialog or report shows, and where the value lives.
struct InspectionField {
    std::string_view key;
    std::string_view caption;
    std::string InspectionDetails::*value;
};

// Every inspection detail, in the order a form lists them.
std::span<const InspectionField> inspectionFields();
// The field whose key is `key`, letter case aside; null when there is none.
const InspectionField* findInspectionField(std::string_view key);

struct Bookmark {
    // The frame, 1-based. Kept as read even beyond the recording's last frame
    // (see isOutOfRange): a mark is never dropped for where it points.
    int64_t frame = 0;
    std::string text;
    std::string created; // ISO 8601 UTC, "2026-12-08T12:57:21Z"; empty when unknown
    friend bool operator==(const Bookmark&, const Bookmark&) = default;
};

// True when the bookmark points at no frame of a recording of `frameCount` frames.
bool isOutOfRange(const Bookmark& mark, int64_t frameCount);

// The AVI range as the window's range selection holds it: start and end frame.
struct AviRange {
    int64_t start = 0;
    int64_t end = 0;
    friend bool operator==(const AviRange&, const AviRange&) = default;
};

// Where the window was left: enough to open the recording again as it was.
struct LastSession {
    int64_t frame = 1;
    // A gate as the last completed drag left it; none when it was never moved.
    std::optional<frame::DraggedGate> gateA;
    std::optional<frame::DraggedGate> gateB;
    std::optional<search::SearchLimits> searchBox;
    std::optional<AviRange> aviRange;
    // The overview and B-scan windows' own state, a JSON object those windows
    // write and read; kept here as compact JSON text without being looked into.
    std::string windows = "{}";
    // Field by field; the gate and the box have no comparison of their own.
    friend bool operator==(const LastSession& a, const LastSession& b);
};

struct ReviewFile {
    RecordingIdentity recording;
    InspectionDetails inspection;
    std::vector<Bookmark> bookmarks; // by frame; marks of one frame in the order they were added
    std::optional<LastSession> lastSession;
    friend bool operator==(const ReviewFile&, const ReviewFile&) = default;
};

// Adds a bookmark among the others by its frame, after those already at that frame.
void addBookmark(ReviewFile& review, Bookmark mark);
// Removes every bookmark at `frame`; how many there were.
std::size_t deleteBookmarksAt(ReviewFile& review, int64_t frame);
// Puts bookmarks read from elsewhere in frame order, keeping the order of marks of one frame.
void sortBookmarks(std::vector<Bookmark>& marks);

// `when` as ISO 8601 UTC to the second: "2026-12-08T12:57:21Z".
std::string isoUtc(std::time_t when);

} // namespace pelix::review
