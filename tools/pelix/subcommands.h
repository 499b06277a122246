// The tool's subcommands. Each returns the process exit status:
// 0 success, 2 usage error, 3 recording rejected.
#pragma once

#include <string>
#include <vector>

namespace pelix::tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitRejected = 3;

using Args = std::vector<std::string>;

int runInfo(const Args& args);
int runFrame(const Args& args);
int runRender(const Args& args);
int runSearch(const Args& args);

} // namespace pelix::tool
