// The help of `pelix` and of each subcommand, written from the option tables.
#pragma once

#include "tools/pelix/options/option_table.h"

#include <span>
#include <string>

namespace pelix::tool {

// `pelix CMD --help`: the usage line, the description, one line per option
// (or pair of options) with its text, and the closing text.
std::string helpText(const CommandSpec& command);

// `pelix --help`: how the program is called, then one line per command.
std::string programHelpText(std::span<const CommandSpec* const> commands);

} // namespace pelix::tool
