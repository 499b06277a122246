// pelix-draw: the subcommands of `pelix` that draw (render, export, report,
// overview -o, bscan -o), in a program of their own because they need Qt and FFmpeg.
// `pelix` hands its command line over unchanged; users never call it, and its
// messages speak as `pelix`.
#include "tools/pelix/bscan_picture.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/overview_strip.h"
#include "tools/pelix/program_main.h"
#include "tools/pelix/subcommands.h"

#include <iostream>
#include <utility>

namespace {

using namespace pelix::tool;

int drawing(const CommandSpec& command, const Args& args) {
    constexpr std::pair<const CommandSpec*, int (*)(const Args&)> kDrawing[] = {
        {&kRenderCommand, &runRender},
        {&kExportCommand, &runExport},
        {&kReportCommand, &runReport},
        {&kOverviewCommand, [](const Args& a) { return runOverview(a, &writeOverviewStrip); }},
        {&kBscanCommand, [](const Args& a) { return runBscan(a, &writeBscanPicture); }},
    };
    for (const auto& [declared, run] : kDrawing)
        if (declared == &command) return run(args);
    std::cerr << "pelix: " << command.name << " draws nothing; run it as pelix " << command.name << "\n";
    return kExitUsage;
}

} // namespace

int main(int argc, char** argv) {
    return runCommandLine(argc, argv, &drawing);
}
