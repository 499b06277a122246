// `pelix overview -o`: the strip drawn as the player's overview window draws
// it. Needs Qt, so only pelix-draw has it.
#pragma once

#include "tools/pelix/subcommands.h"

namespace pelix::tool {

// Draws `series` into a width x height picture and writes it to `png`, committed.
bool writeOverviewStrip(const overview::OverviewSeries& series, files::OutputFile& png, int width,
                        int height);

} // namespace pelix::tool
