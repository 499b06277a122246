// pelix summary: many recordings at a glance, one row each, the files read in
// parallel and the rows written in the order the files were given.
#include "core/batch/ordered_batch.h"
#include "tools/pelix/gate_option.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/standard_output.h"
#include "tools/pelix/subcommands.h"
#include "tools/pelix/summary_table.h"

#include <sched.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <system_error>
#include <thread>

namespace pelix::tool {

namespace {

// A shell that expands a glob or `find -exec … {} +` hands over the files themselves; a folder
// named here would hide which recordings were meant (all? recursively? only .BIN?).
std::string folderRefusal(const std::string& path) {
    return path + " is a folder: pass the recordings themselves, as a shell glob (pelix summary " + path +
           "/*.BIN) or from find (find " + path + " -name '*.BIN' -exec pelix summary {} +)";
}

// The cores this process may run on (a container or `taskset` may allow fewer than the machine has).
int defaultWorkers() {
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    const int cores = sched_getaffinity(0, sizeof allowed, &allowed) == 0
                          ? CPU_COUNT(&allowed)
                          : static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores, 1, 256);
}

} // namespace

int runSummary(const Args& args) {
    const ParsedArgs parsed = parseArgs(kSummaryCommand, args);
    if (parsed.help) {
        std::cout << helpText(kSummaryCommand);
        return kExitOk;
    }
    const auto usage = [](const std::string& why) {
        std::cerr << "pelix summary: " << why << "\n" << helpText(kSummaryCommand);
        return kExitUsage;
    };
    if (!parsed.error.empty()) return usage(parsed.error);
    if (parsed.positional.empty()) return usage("expects one or more FILEs");
    const bool csv = parsed.has("--csv");
    if (csv && parsed.json) return usage("--csv and --json exclude each other");
    if (!parsed.argumentError.empty()) return usage(parsed.argumentError);

    SummaryColumns columns;
    if (parsed.has("--gate")) {
        std::string gateError;
        const std::optional<overview::Gate> gate = readGateChoice(parsed, overview::Gate::A, gateError);
        if (!gate) return usage(gateError);
        // The table shows the one gate named.
        (*gate == overview::Gate::A ? columns.gateB : columns.gateA) = false;
    }
    for (const std::string& path : parsed.positional) {
        std::error_code error;
        if (std::filesystem::is_directory(path, error)) return usage(folderRefusal(path));
    }
    batch::SummaryRules rules;
    if (const std::optional<int64_t> level = parsed.number("--level"))
        rules.level = static_cast<int32_t>(*level);
    const int workers = static_cast<int>(parsed.number("-j").value_or(defaultWorkers()));

    SummaryTable table(csv           ? SummaryFormat::Csv
                       : parsed.json ? SummaryFormat::Json
                                     : SummaryFormat::Text,
                       columns, parsed.positional);
    bool everyFileRead = true;
    bool written = writeStandardOutput(table.begin());
    if (written)
        batch::summariseInOrder(parsed.positional, rules, workers, [&](const batch::RecordingSummary& row) {
            everyFileRead = everyFileRead && row.wasRead();
            written = writeStandardOutput(table.row(row));
            return written;
        });
    if (written) writeStandardOutput(table.end());
    return everyFileRead ? kExitOk : kExitSomeNotRead;
}

} // namespace pelix::tool
