// Work the window starts in the background (re-measuring every frame, exports,
// scans of the whole recording) yields the processor to the window, so that
// the window answers at once however busy the machine is.
#pragma once

#include "platform/export.h"

namespace pelix::platform {

// Lowers the calling thread's scheduling priority to that of background work;
// threads it starts afterwards inherit it. False when it was not lowered (the
// system refused, or cannot lower one thread alone).
PELIX_PLATFORM_API bool lowerToBackgroundPriority();

} // namespace pelix::platform
