// A JSON string as every machine-readable output of the suite writes it: the
// text in quotes, with quote, backslash and control characters escaped. Bytes
// from 0x80 up pass as they are (the texts are UTF-8).
#pragma once

#include <string>
#include <string_view>

namespace pelix::text {

// Appends `value` to `out` as a quoted, escaped JSON string.
void appendJsonString(std::string& out, std::string_view value);

} // namespace pelix::text
