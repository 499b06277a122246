// pelix: the command-line companion of the player.
#include "core/files/signal_cleanup.h"
#include "tools/pelix/standard_output.h"
#include "tools/pelix/subcommands.h"

#include <cstring>
#include <iostream>
#include <map>

namespace {
const char* kUsage =
    "usage: pelix COMMAND [arguments] [--json]\n"
    "       pelix --version\n"
    "commands:\n"
    "  info FILE     the recording's setup, frame count, length and flags\n"
    "  frame FILE N  frame N's header fields and decoded samples\n"
    "  render FILE N -o OUT.png  frame N drawn as the player shows it\n"
    "  readings FILE [--csv]     every frame's recorded readings as the panel shows them\n"
    "  export FILE -o OUT.avi    a range of frames to an AVI video\n"
    "  search FILE --box L,U,H1,H2  every frame whose trace passes through the box\n"
    "  overview FILE [--json | -o OUT.png]  every frame's gate amplitudes and the flags\n"
    "  report FILE -o REPORT.pdf [--frames LIST | --flags]  an inspection report\n"
    "Run 'pelix COMMAND --help' for the arguments of a command. '--' ends the options:\n"
    "every word after it is a file name or number, even one that starts with '-'.\n"
    "Exit status 0 done, 1 an output (standard output included) could not be written,\n"
    "2 usage, 3 recording rejected (also a folder, FIFO, device or socket), 4 the file ends\n"
    "inside a frame asked for.\n";
}

int main(int argc, char** argv) {
    using namespace pelix::tool;
    endQuietlyOnClosedPipe();
    const std::map<std::string, int (*)(const Args&)> commands = {
        {"info", &runInfo},         {"frame", &runFrame},   {"render", &runRender},
        {"readings", &runReadings}, {"export", &runExport}, {"search", &runSearch},
        {"overview", &runOverview}, {"report", &runReport},
    };
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        (argc < 2 ? std::cerr : std::cout) << kUsage;
        return finishStandardOutput(argc < 2 ? kExitUsage : kExitOk);
    }
    if (std::strcmp(argv[1], "--version") == 0) {
        std::cout << "pelix " << PELIX_VERSION_MAJOR << '.' << PELIX_VERSION_MINOR << '.'
                  << PELIX_VERSION_PATCH << "\n";
        return finishStandardOutput(kExitOk);
    }
    // An interrupted output leaves neither a half-written file nor its temporary folder.
    pelix::files::removeTemporariesOnSignals();
    const auto it = commands.find(argv[1]);
    if (it == commands.end()) {
        std::cerr << "pelix: unknown command '" << argv[1] << "'\n" << kUsage;
        return kExitUsage;
    }
    return finishStandardOutput(it->second(Args(argv + 2, argv + argc)));
}
