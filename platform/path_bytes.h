// File names are bytes to the system, not text. A name given on the command
// line or held by the window is carried in a QString that gives back exactly
// the bytes it came from: bytes that are not UTF-8 are kept as the lone
// surrogates U+DC80..U+DCFF, one per byte, which no real text contains.
#pragma once

#include "platform/export.h"

#include <QString>

#include <string>
#include <string_view>

namespace pelix::platform {

// The name as the window holds it: UTF-8 decoded, every other byte kept.
PELIX_PLATFORM_API QString pathFromBytes(std::string_view bytes);
// The bytes to hand to open(2): exactly those pathFromBytes was given.
PELIX_PLATFORM_API std::string pathToBytes(const QString& path);

} // namespace pelix::platform
