// JSON strings as every machine-readable output writes them: the control's
// operation list and the tool's documents escape each character alike.
#include "core/text/json_string.h"

#include <gtest/gtest.h>

#include <string>

namespace pelix::text {
namespace {

TEST(JsonStringTest, EscapesQuoteBackslashAndEveryControlCharacter) {
    const struct {
        std::string text;
        const char* json;
    } cases[] = {
        {"", "\"\""},
        {"5.00mm", "\"5.00mm\""},
        {"say \"H\"", "\"say \\\"H\\\"\""},
        {"C:\\x", "\"C:\\\\x\""},
        {"a\nb\rc\td", "\"a\\nb\\rc\\td\""}, // \r as the short form in every document
        {std::string("\0\x01\x1f", 3), "\"\\u0000\\u0001\\u001f\""},
        {"\x7f \xC2\xB0", "\"\x7f \xC2\xB0\""}, // DEL and UTF-8 pass as they are
    };
    for (const auto& c : cases) {
        std::string out = "[";
        appendJsonString(out, c.text);
        EXPECT_EQ(out, std::string("[") + c.json) << c.json;
    }
}

} // namespace
} // namespace pelix::text
