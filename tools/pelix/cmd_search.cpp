// pelix search: every frame whose trace passes through a search box, listed as
// the player's result list shows them.
#include "core/recording/open_recording.h"
#include "core/search/frame_search.h"
#include "core/search/search_entries.h"
#include "tools/pelix/command_line.h"
#include "tools/pelix/json_writer.h"
#include "tools/pelix/search_box_option.h"

#include <iostream>
#include <optional>

namespace pelix::tool {

namespace {

const char* kHelp =
    "usage: pelix search FILE --box L,U,H1,H2 [--json]\n"
    "Lists every frame whose trace passes through the search box, in the player's words\n"
    "(\"1.  Frame 57\", or \"Not found.\"). L and U are the box's left and right edge on the\n"
    "0..800 sample scale, H1 and H2 its lower and upper amplitude limit in percent of screen\n"
    "height (in RF, of half the height from the centre line): the control's\n"
    "SearchLowwidthRange, SearchUpwidthRange, SearchLowhightlimit and SearchUphightlimit.\n"
    "Reversed limits (L > U or H1 > H2) are a usage error: no trace passes through such a box.\n"
    "Limits beyond 0..800 or 0..100 are clamped to them, as the window keeps its box inside the\n"
    "picture; a note on standard error says so.\n"
    "--json prints {\"matches\": [frame numbers], \"entries\": [list entries]}.\n";

} // namespace

int runSearch(const Args& args) {
    const ParsedArgs parsed = parseArgs(args, {"--box"}, {"--json"});
    if (parsed.help) {
        std::cout << kHelp;
        return kExitOk;
    }
    std::optional<search::SearchLimits> limits;
    std::string error = parsed.error, note;
    for (const auto& [name, value] : parsed.options) {
        if (name != "--box") continue;
        SearchBoxOption box = parseSearchBoxOption(name, value);
        if (!box.error.empty()) error = box.error;
        note = box.note;
        limits = box.limits;
    }
    if (error.empty() && parsed.positional.size() != 1) error = "expects one FILE";
    if (error.empty() && !limits) error = "expects --box L,U,H1,H2";
    if (!error.empty()) {
        std::cerr << "pelix search: " << error << "\n" << kHelp;
        return kExitUsage;
    }
    if (!note.empty()) std::cerr << "pelix search: " << note << "\n";

    // The search reads every frame itself; the flags are not needed.
    const recording::OpenOutcome outcome =
        recording::OpenRecording::open(parsed.positional[0], recording::OpenRecording::FlagScan::Skip);
    if (!outcome.recording) return reportRejected(outcome);
    search::FrameSearch frameSearch(*outcome.recording, *limits);
    frameSearch.run();
    std::vector<int32_t> matches;
    frameSearch.collect(matches);

    if (parsed.json) {
        JsonWriter w;
        w.beginObject();
        w.key("matches");
        w.array(matches);
        w.key("entries");
        w.beginArray();
        for (std::size_t i = 0; i < matches.size(); ++i)
            w.value(search::entryText(static_cast<int64_t>(i) + 1, matches[i]));
        if (matches.empty()) w.value(std::string_view(search::kNotFound));
        w.endArray();
        w.endObject();
        std::cout << w.text() << "\n";
        return kExitOk;
    }
    std::string text;
    for (std::size_t i = 0; i < matches.size(); ++i) {
        text += search::entryText(static_cast<int64_t>(i) + 1, matches[i]);
        text += '\n';
    }
    if (matches.empty()) text = std::string(search::kNotFound) + "\n";
    std::cout << text;
    return kExitOk;
}

} // namespace pelix::tool
