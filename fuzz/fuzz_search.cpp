// Arbitrary bytes as a recording, searched as pelix search and the player's
// search button do it, with a box from the input: any finite limits, reversed,
// empty, a single point or far outside the screen. Every frame's verdict is
// checked against the box's rule written out plainly on the frame's own first
// record, and the list entries and slider markers are made for the matches.
//
// Parameters (16 bytes before the recording): the box's left and right edge on
// the 0..800 scale and its lower and upper amplitude limit in percent, each a float.
#include "core/recording/open_recording.h"
#include "core/search/frame_search.h"
#include "core/search/search_entries.h"
#include "fuzz/fuzz_input.h"
#include "tests/support/search_plain_rule.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace pelix;
using namespace pelix::recording;

const std::size_t pelix::fuzz::kParameterBytes = 16;

namespace {

// Whether frame n should match: its record (or envelope pair) whole in the file
// and the plain rule true on the first record's samples.
bool expectedMatch(const OpenRecording& rec, int32_t n, const search::SearchLimits& limits) {
    const int64_t stride = rec.frameStride();
    std::vector<uint8_t> record(static_cast<std::size_t>(stride));
    if (rec.file().readAt(rec.recordOffset(n), record.data(), record.size()) != record.size()) return false;
    return testing::plainSearchRule(rec.header().Rectification, record.data() + kFrameHeaderBytes, limits);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FuzzInput input(data, size);
    const search::SearchLimits limits{input.take<float>(), input.take<float>(), input.take<float>(),
                                      input.take<float>()};
    // The control reports only finite limits, and pelix search refuses others.
    for (const double v : {limits.SearchLowwidthRange, limits.SearchUpwidthRange, limits.SearchLowhightlimit,
                           limits.SearchUphightlimit})
        if (!std::isfinite(v)) return 0;

    const OpenOutcome outcome = OpenRecording::open(input.writeRecording(), OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return 0;
    const OpenRecording& rec = *outcome.recording;
    search::FrameSearch frameSearch(rec, limits);
    frameSearch.run();
    std::vector<int32_t> matches;
    frameSearch.collect(matches);

    for (std::size_t i = 0; i < matches.size(); ++i) {
        (void)search::entryText(static_cast<int64_t>(i) + 1, matches[i]);
        (void)search::markerX(matches[i], rec.FrameCount(), 9000.0, 1.0);
    }

    const int32_t checked = rec.FrameCount() < 4096 ? rec.FrameCount() : 4096;
    std::size_t next = 0;
    for (int32_t n = 1; n <= checked; ++n) {
        const bool listed = next < matches.size() && matches[next] == n;
        if (listed) ++next;
        if (listed != expectedMatch(rec, n, limits)) {
            std::fprintf(stderr, "search: frame %d %s, box %.9g,%.9g,%.9g,%.9g\n", n,
                         listed ? "listed but outside the box" : "inside the box but not listed",
                         limits.SearchLowwidthRange, limits.SearchUpwidthRange, limits.SearchLowhightlimit,
                         limits.SearchUphightlimit);
            std::abort();
        }
    }
    // Every match is a frame of the recording, listed once and in order.
    if (checked == rec.FrameCount() && next != matches.size()) {
        std::fprintf(stderr, "search: %zu matches listed out of order or outside 1..%d\n",
                     matches.size() - next, rec.FrameCount());
        std::abort();
    }
    return 0;
}
