#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "readings/reading_text.h"
#include "support/case_names.h"

namespace pelix::cal::readings {
namespace {

struct TextCase {
    Reading reading;
    int32_t units;
    const char* text;
    bool shown;
};

Reading with(ReadingKind kind, int64_t value, bool clipped = false) {
    Reading r;
    r.kind = kind;
    r.hasValue = true;
    r.value = value;
    r.clipped = clipped;
    return r;
}

Reading without(ReadingKind kind) {
    Reading r;
    r.kind = kind;
    return r;
}

const char* kindName(ReadingKind kind) {
    switch (kind) {
    case ReadingKind::Integer:
        return "Integer";
    case ReadingKind::Percent:
        return "Percent";
    case ReadingKind::Distance:
        return "Distance";
    case ReadingKind::Zone:
        return "Zone";
    case ReadingKind::Decibel:
        return "Decibel";
    case ReadingKind::None:
        return "None";
    case ReadingKind::Text:
        return "Text";
    }
    return "Unknown";
}

class ReadingsTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ReadingsTextTest, TextOfEachKind) {
    readings::Setup setup;
    setup.units = GetParam().units;
    setup.velocity = 59200;
    char out[kReadingTextBytes];
    std::memset(out, 'x', sizeof out);
    EXPECT_EQ(writeReadingText(GetParam().reading, setup, out), GetParam().shown);
    EXPECT_EQ(std::string(out), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(ReadingsKinds, ReadingsTextTest,
                         ::testing::Values(
                             // 0.1 dB: all digits but the last, a point, the last.
                             TextCase{with(ReadingKind::Decibel, -5), 0, "-0.5dB", true},
                             TextCase{with(ReadingKind::Decibel, 0), 0, "0.0dB", true},
                             TextCase{with(ReadingKind::Decibel, 5), 0, "0.5dB", true},
                             TextCase{with(ReadingKind::Decibel, 123), 0, "12.3dB", true},
                             TextCase{with(ReadingKind::Decibel, -482), 0, "-48.2dB", true},
                             TextCase{with(ReadingKind::Percent, 104, true), 0, ">104%", true},
                             TextCase{with(ReadingKind::Percent, -3), 0, "-3%", true},
                             TextCase{with(ReadingKind::Integer, 2), 0, "2", true},
                             TextCase{with(ReadingKind::Zone, 3), 0, "3", true},
                             // Distances in micrometres, blanks of the fixed-width formats stripped.
                             TextCase{with(ReadingKind::Distance, -5), 0, "-0.01mm", true},
                             TextCase{with(ReadingKind::Distance, 123456789), 0, "123456.79mm", true},
                             TextCase{without(ReadingKind::Percent), 0, "-----%", false},
                             TextCase{without(ReadingKind::Decibel), 0, "-----dB", false},
                             TextCase{without(ReadingKind::Distance), 1, "-----", false},
                             TextCase{without(ReadingKind::Integer), 0, "-----", false},
                             TextCase{without(ReadingKind::Zone), 0, "-----", false},
                             TextCase{without(ReadingKind::Text), 0, "-----", false},
                             TextCase{with(ReadingKind::None, 7), 0, "", false}),
                         [](const auto& info) {
                             const Reading& r = info.param.reading;
                             return pelix::testing::caseName(kindName(r.kind),
                                                             r.hasValue ? std::to_string(r.value) : "NoValue",
                                                             r.clipped ? "Clipped" : "");
                         });

TEST(ReadingsTextFieldTest, HugeNumbersStayInsideTheField) {
    readings::Setup setup;
    setup.velocity = 1;
    char out[kReadingTextBytes + 8];
    for (int32_t units : {0, 1, 2}) {
        setup.units = units;
        std::memset(out, 'x', sizeof out);
        writeReadingText(with(ReadingKind::Distance, INT64_MIN), setup, out);
        EXPECT_LT(std::strlen(out), kReadingTextBytes) << units;
        EXPECT_EQ(out[kReadingTextBytes], 'x') << units;
    }
    std::memset(out, 'x', sizeof out);
    writeReadingText(with(ReadingKind::Decibel, INT64_MIN), setup, out);
    EXPECT_STREQ(out, "-922337203685477580.8dB");
}

// Distances are printed without printf; the digits must be printf's "%.2f"/"%.3f" ones, halves
// and all, in every unit.
TEST(ReadingsTextFieldTest, DistancesReadAsPrintfPrintsThem) {
    readings::Setup setup;
    setup.velocity = 59200;
    std::vector<int64_t> values = {0, 5, -5, 15, 25, 35, 1005, 2675, -2675, 12700, 25400, 999995, 1234567891};
    for (int64_t v = 1, step = 7; v < 4'000'000'000LL; v += step, step = step * 3 / 2 + 1)
        values.push_back(v), values.push_back(-v);
    for (int32_t units : {0, 1, 2}) {
        setup.units = units;
        for (const int64_t v : values) {
            const auto x = static_cast<double>(v);
            char expected[80];
            if (units == 1)
                std::snprintf(expected, sizeof expected, "%.3fin", x * 0.00003937008);
            else if (units == 2)
                std::snprintf(expected, sizeof expected, "%.3fus", x / setup.velocity * 20);
            else
                std::snprintf(expected, sizeof expected, "%.2fmm", x * 0.001);
            char out[kReadingTextBytes];
            writeReadingText(with(ReadingKind::Distance, v), setup, out);
            EXPECT_STREQ(out, expected) << v << " units " << units;
        }
    }
}

TEST(ReadingsTextFieldTest, ClassTextOrNothing) {
    Reading r = with(ReadingKind::Text, 0);
    r.text = "III";
    char out[kReadingTextBytes];
    EXPECT_TRUE(writeReadingText(r, readings::Setup{}, out));
    EXPECT_STREQ(out, "III");
}

} // namespace
} // namespace pelix::cal::readings
