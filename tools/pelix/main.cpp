// pelix: the command-line companion of the player. It reads recordings without
// Qt or FFmpeg; the subcommands that draw are handed over to pelix-draw.
#include "tools/pelix/hand_over.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/program_main.h"
#include "tools/pelix/subcommands.h"

#include <utility>

namespace {

using namespace pelix::tool;

int hereOrDrawing(const CommandSpec& command, const Args& args) {
    constexpr std::pair<const CommandSpec*, int (*)(const Args&)> kHere[] = {
        {&kInfoCommand, &runInfo},
        {&kFrameCommand, &runFrame},
        {&kReadingsCommand, &runReadings},
        {&kIndicationsCommand, &runIndications},
        {&kSearchCommand, &runSearch},
        // Only the numbers: the strip drawn with -o is pelix-draw's.
        {&kOverviewCommand, [](const Args& a) { return runOverview(a, nullptr); }},
        {&kBscanCommand, [](const Args& a) { return runBscan(a, nullptr); }},
        {&kSummaryCommand, &runSummary},
        {&kReviewCommand, &runReview},
        {&kBookmarksCommand, &runBookmarks},
        {&kInspectionCommand, &runInspection},
        {&kExportCommand, &runExportHereOrDrawing},
    };
    for (const auto& [declared, run] : kHere)
        if (declared == &command) return run(args);
    return handOverToDrawing(command, args);
}

} // namespace

int main(int argc, char** argv) {
    return runCommandLine(argc, argv, &hereOrDrawing);
}
