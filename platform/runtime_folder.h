// Qt keeps per-user runtime files under $XDG_RUNTIME_DIR and complains on
// standard error when the variable is unset, as it is in a plain terminal
// login, under sudo or in a service. Programs that start Qt call this first:
// with the variable unset, a private folder (mode 0700, under $TMPDIR or
// /tmp) is made and named in it, and removed when the program ends.
#pragma once

#include "platform/export.h"

#include <string>

namespace pelix::platform {

// Call before the QApplication is made; harmless when called again. Gives the
// private folder made for this run (empty when the variable was set), so that
// the program can have it removed when a signal ends it as well.
PELIX_PLATFORM_API std::string ensureRuntimeFolder();

} // namespace pelix::platform
