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
namespace pelix::recording {
class OpenRecording;
}
namespace pelix::bscan {
class BscanGrid;
}

namespace pelix::tool {

using pelix::kExitFrameCutShort;
using pelix::kExitOk;
using pelix::kExitRejected;
using pelix::kExitReviewRefused;
using pelix::kExitSomeNotRead;
using pelix::kExitUsage;
using pelix::kExitWriteFailed;

int runInfo(const Args& args);
int runFrame(const Args& args);
int runRender(const Args& args);
int runReadings(const Args& args);
int runIndications(const Args& args);
int runExport(const Args& args);
// HDF5 (-o OUT.h5) is written by `pelix` itself; a video goes to the drawing program.
int runExportHereOrDrawing(const Args& args);
int runSearch(const Args& args);
// Draws the overview strip into a picture; only pelix-draw has one. Without
// it, `overview -o` is handed over to pelix-draw.
using OverviewStripWriter = bool (*)(const overview::OverviewSeries& series, files::OutputFile& png,
                                     int width, int height);
int runOverview(const Args& args, OverviewStripWriter writeStrip);
int runReport(const Args& args);
// Draws a B-scan's cells into a picture, committed; only pelix-draw has one.
// Without it, `bscan -o` is handed over to pelix-draw.
using BscanPictureWriter = bool (*)(recording::OpenRecording& rec, const bscan::BscanGrid& grid,
                                    files::OutputFile& png);
int runBscan(const Args& args, BscanPictureWriter writePicture);
int runSummary(const Args& args);
int runReview(const Args& args);
int runBookmarks(const Args& args);
int runInspection(const Args& args);

} // namespace pelix::tool
