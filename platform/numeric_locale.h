// The toolkit takes the user's locale for the C library when it starts. Numbers
// that the program writes for other programs (JSON, CSV) or reads back from its
// own panel texts must keep the decimal point whatever the user's language is,
// so the C library's numeric category is put back to "C" once the toolkit is up.
// Texts shown to the user are formatted by the program's own rules, not the
// C library's, and do not change.
#pragma once

#include "platform/export.h"

namespace pelix::platform {

PELIX_PLATFORM_API void keepNumbersInCLocale();

} // namespace pelix::platform
