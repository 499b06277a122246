// The subcommands' outputs: vetted against the recording being read before
// any work is done, and a refused or failed output said the same way by
// every subcommand (exit status 1, the file and the reason on standard error).
#pragma once

#include "core/files/output_file.h"

namespace pelix::tool {

// Prints "pelix COMMAND: OUT: why; nothing written" and gives exit status 1.
int reportNotWritten(const char* command, const files::OutputFile& output);

} // namespace pelix::tool
