// The subcommands that draw (render, export, report, overview -o) need Qt and
// FFmpeg; they run in a second program, pelix-draw, so that the rest of `pelix`
// starts without loading either. `pelix` hands the command line over to it
// unchanged: the same words, standard streams and exit status.
#pragma once

#include "tools/pelix/options/option_parser.h"
#include "tools/pelix/options/option_table.h"

#include <string>
#include <vector>

namespace pelix::tool {

// The drawing program's name, beside `pelix` in the build tree and in the
// package's private folder once installed.
inline constexpr const char* kDrawingProgram = "pelix-draw";

// Where the drawing program is looked for, in order: the folder `pelix` runs
// from, then ../libexec/pelix/ from there (the installed layout).
std::vector<std::string> drawingProgramPlaces(const std::string& programFolder);

// `pelix COMMAND --help` is answered here from the table, without Qt. Anything
// else replaces this process by pelix-draw with `args`. Returns only when that
// could not start (said on standard error): exit status 1, nothing written.
int handOverToDrawing(const CommandSpec& command, const Args& args);

} // namespace pelix::tool
