#include "tools/pelix/tool_outputs.h"

#include "tools/pelix/subcommands.h"

#include <iostream>

namespace pelix::tool {

int reportNotWritten(const char* command, const files::OutputFile& output) {
    std::cerr << "pelix " << command << ": " << output.error() << "\n";
    return kExitWriteFailed;
}

} // namespace pelix::tool
