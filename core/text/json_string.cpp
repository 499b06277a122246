#include "core/text/json_string.h"

namespace pelix::text {

void appendJsonString(std::string& out, std::string_view value) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : value) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                const auto code = static_cast<unsigned char>(c);
                out += "\\u00";
                out += kHex[code >> 4];
                out += kHex[code & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

} // namespace pelix::text
