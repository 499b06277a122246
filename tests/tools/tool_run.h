// Runs the built command-line tool as a user would, for the tests of its
// subcommands: the exit status and what it printed (standard error folded in).
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace pelix::testing {

struct ToolRun {
    int status = -1;
    std::string out;
};

inline ToolRun pelix(const std::string& arguments) {
    const std::string command = std::string(PELIX_BIN_DIR) + "/pelix " + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

} // namespace pelix::testing
