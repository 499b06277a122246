// The tool's subcommands. Each returns the process exit status (core/exit_codes.h).
#pragma once

#include "core/exit_codes.h"
#include "tools/pelix/options/option_parser.h"

namespace pelix::files {
class OutputFile;
}
namespace pelix::overview {
class OverviewSeries;
}

namespace pelix::tool {

using pelix::kExitFrameCutShort;
using pelix::kExitOk;
using pelix::kExitRejected;
using pelix::kExitUsage;
using pelix::kExitWriteFailed;

int runInfo(const Args& args);
int runFrame(const Args& args);
int runRender(const Args& args);
int runReadings(const Args& args);
int runIndications(const Args& args);
int runExport(const Args& args);
int runSearch(const Args& args);
// Draws the overview strip into a picture; only pelix-draw has one. Without
// it, `overview -o` is handed over to pelix-draw.
using OverviewStripWriter = bool (*)(const overview::OverviewSeries& series, files::OutputFile& png,
                                     int width, int height);
int runOverview(const Args& args, OverviewStripWriter writeStrip);
int runReport(const Args& args);

} // namespace pelix::tool
