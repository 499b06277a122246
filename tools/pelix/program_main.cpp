#include "tools/pelix/program_main.h"

#include "core/files/signal_cleanup.h"
#include "tools/pelix/options/commands.h"
#include "tools/pelix/options/help_text.h"
#include "tools/pelix/standard_output.h"
#include "tools/pelix/subcommands.h"

#include <cstring>
#include <iostream>

namespace pelix::tool {

int runCommandLine(int argc, char** argv, int (*run)(const CommandSpec& command, const Args& args)) {
    endQuietlyOnClosedPipe();
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        (argc < 2 ? std::cerr : std::cout) << programHelpText(commandTable());
        return finishStandardOutput(argc < 2 ? kExitUsage : kExitOk);
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "pelix " << PELIX_VERSION_MAJOR << '.' << PELIX_VERSION_MINOR << '.'
                  << PELIX_VERSION_PATCH << "\n";
        return finishStandardOutput(kExitOk);
    }
    const CommandSpec* command = findCommand(argv[1]);
    if (!command) {
        std::cerr << "pelix: unknown command '" << argv[1] << "'\n" << programHelpText(commandTable());
        return kExitUsage;
    }
    // An interrupted output leaves neither a half-written file nor its temporary folder.
    files::removeTemporariesOnSignals();
    return finishStandardOutput(run(*command, Args(argv + 2, argv + argc)));
}

} // namespace pelix::tool
