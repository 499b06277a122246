// File names carried through the window's text unchanged, byte for byte.
#include "platform/path_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace pelix::platform {
namespace {

TEST(PathBytesTest, EveryNameComesBackAsTheBytesItWasGiven) {
    const struct {
        const char* what;
        std::string bytes;
        bool utf8;
    } cases[] = {
        {"plain", "/data/SCAN01.BIN", true},
        {"accented", "/data/Schwei\xc3\x9fnaht \xc3\xa9t\xc3\xa9.BIN", true},
        {"outside the basic plane", "/d/\xf0\x9f\x94\x8a.BIN", true},
        {"Latin-1 byte", "/data/bad\xff.BIN", false},
        {"stray continuation bytes", "\x80\xbf/x", false},
        {"overlong slash",
         "a\xc0\xaf"
         "b",
         false},
        {"encoded surrogate",
         "a\xed\xa0\x80"
         "b",
         false},
        {"beyond U+10FFFF", "a\xf4\x90\x80\x80", false},
        {"sequence cut by the end", "name\xe2\x82", false},
        {"sequence cut by a plain byte", "\xe2\x82x\xe2\x82\xac", false},
        {"Latin-1 name throughout",
         "Pr\xfc"
         "fst\xfc"
         "ck \xe4\xf6.BIN",
         false},
    };
    for (const auto& c : cases) {
        const QString carried = pathFromBytes(c.bytes);
        EXPECT_EQ(pathToBytes(carried), c.bytes) << c.what;
        // Names that are text stay the text a user reads.
        if (c.utf8) {
            EXPECT_EQ(carried, QString::fromUtf8(c.bytes.data(), qsizetype(c.bytes.size()))) << c.what;
        }
    }
}

TEST(PathBytesTest, TextFromTheDialogBecomesItsUtf8Bytes) {
    for (const QString& name :
         {QStringLiteral("/tmp/A.BIN"), QString::fromUtf8("/tmp/\xc3\xa9\xf0\x9f\x94\x8a.BIN")})
        EXPECT_EQ(pathToBytes(name), name.toStdString());
    // A surrogate pair whose low half lies in the kept-byte range is a character, not a byte.
    const QString pair = QString::fromUtf16(u"\xD800\xDC80");
    EXPECT_EQ(pathToBytes(pair), pair.toStdString());
}

} // namespace
} // namespace pelix::platform
