// The tool's subcommands. Each returns the process exit status:
// 0 success, 1 an output could not be written, 2 usage error, 3 recording
// rejected, 4 the frame asked for is cut short by the end of the file.
#pragma once

#include <string>
#include <vector>

namespace pelix::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRejected = 3;
inline constexpr int kExitWriteFailed = 1;
inline constexpr int kExitFrameCutShort = 4;

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
