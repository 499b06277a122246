// The tool's subcommands. Each returns the process exit status (core/exit_codes.h).
#pragma once

#include "core/exit_codes.h"

#include <string>
#include <vector>

namespace pelix::tool {

using pelix::kExitFrameCutShort;
using pelix::kExitOk;
using pelix::kExitRejected;
using pelix::kExitUsage;
using pelix::kExitWriteFailed;

using Args = std::vector<std::string>;

int runInfo(const Args& args);
int runFrame(const Args& args);
int runRender(const Args& args);
int runReadings(const Args& args);
int runExport(const Args& args);
int runSearch(const Args& args);
int runOverview(const Args& args);
int runReport(const Args& args);

} // namespace pelix::tool
