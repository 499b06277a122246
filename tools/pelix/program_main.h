// What `pelix` and pelix-draw do before a subcommand runs: the program's
// help, its version, and finding the command in the table.
#pragma once

#include "tools/pelix/options/option_parser.h"
#include "tools/pelix/options/option_table.h"

namespace pelix::tool {

// Runs the command line: `pelix --help`, `pelix --version`, or the command
// named first, through `run`, with standard output checked at the end.
int runCommandLine(int argc, char** argv, int (*run)(const CommandSpec& command, const Args& args));

} // namespace pelix::tool
