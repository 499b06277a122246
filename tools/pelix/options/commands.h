// Every subcommand of `pelix` with its options: the one table the parser, the
// help and the command list read.
#pragma once

#include "tools/pelix/options/option_table.h"

#include <span>

namespace pelix::tool {

extern const CommandSpec kInfoCommand;
extern const CommandSpec kFrameCommand;
extern const CommandSpec kRenderCommand;
extern const CommandSpec kReadingsCommand;
extern const CommandSpec kIndicationsCommand;
extern const CommandSpec kExportCommand;
extern const CommandSpec kSearchCommand;
extern const CommandSpec kOverviewCommand;
extern const CommandSpec kReportCommand;
extern const CommandSpec kBscanCommand;
extern const CommandSpec kSummaryCommand;
extern const CommandSpec kReviewCommand;
extern const CommandSpec kBookmarksCommand;
extern const CommandSpec kInspectionCommand;

// Every command, in the order `pelix --help` lists them.
std::span<const CommandSpec* const> commandTable();
// The command called `name`, or null.
const CommandSpec* findCommand(std::string_view name);

} // namespace pelix::tool
