// One recording in one row: what the setup record says of it, how long it
// runs, how many frames the operator flagged, and for each gate the largest
// recorded echo, the frames at or above a level and the indications there,
// all from one pass over the frame headers. Memory is about a byte a frame
// for each gate's echo dynamic (the indication search needs the series), and
// it is gone when the row is made.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace pelix::batch {

enum class SummaryStatus {
    Read,       // every frame header was read
    CutShort,   // read, but a partial frame record follows the last whole frame (it is not counted)
    Rejected,   // the reader refused the file: not a recording, too old, or no frames
    Unreadable, // the file could not be opened, or it ended inside a frame it held when opened
};

struct GateSummary {
    // The largest recorded amplitude (percent of screen height) and the first frame holding it;
    // none when the gate is off in every frame.
    std::optional<int32_t> largest;
    int32_t largestFrame = 0;
    // The level the counts below are made at, and whether it is the gate's threshold in frame 1.
    int32_t level = 0;
    bool levelFromGate = false;
    int64_t framesAtLevel = 0; // frames whose amplitude is at least the level
    int64_t indications = 0;   // as `pelix indications` finds them at that level, default drop and merge
};

struct RecordingSummary {
    std::string path;       // as given
    int64_t sizeBytes = -1; // -1 when the file could not be examined
    SummaryStatus status = SummaryStatus::Unreadable;
    std::string reason; // the reader's own text for a rejected or unreadable file, else empty
    int32_t version = 0;
    int32_t frames = 0; // whole frames
    int32_t framesPerSecond = 0;
    int64_t durationHundredths = 0; // frames / rate, in hundredths of a second
    bool envelope = false;
    int32_t flaggedFrames = 0; // frames whose flag word is set
    int32_t flagCount = 0;     // the number of flags the setup record claims
    std::string evaluationMode;
    int64_t trailingBytes = 0;        // bytes of a cut-short frame record after the last whole frame
    std::array<GateSummary, 2> gates; // A, B; meaningful only for Read and CutShort

    bool wasRead() const { return status == SummaryStatus::Read || status == SummaryStatus::CutShort; }
};

// The counting level of both gates; none: each gate's own threshold in frame 1.
struct SummaryRules {
    std::optional<int32_t> level;
};

RecordingSummary summariseRecording(const std::string& path, const SummaryRules& rules);

// "read", "cut-short", "rejected", "unreadable": the word the tables print.
const char* statusWord(SummaryStatus status);

} // namespace pelix::batch
