// Numbers in every JSON document the tool writes: read back exactly, and
// written as a person expects to read them (a whole 60 s is 60, not 6e+01).
#include "tools/pelix/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using pelix::tool::JsonWriter;

namespace {

template <typename T> std::string written(T v) {
    JsonWriter json;
    json.value(v);
    return json.text();
}

} // namespace

TEST(JsonWriterNumbers, ShortestPlainTextThatReadsBack) {
    EXPECT_EQ(written(60.0), "60");
    EXPECT_EQ(written(100.0), "100");
    EXPECT_EQ(written(0.1), "0.1");
    EXPECT_EQ(written(100.4), "100.4");
    EXPECT_EQ(written(-2.5), "-2.5");
    EXPECT_EQ(written(100.0f), "100");
    EXPECT_EQ(written(0.1f), "0.1");
    EXPECT_EQ(written(1234.5f), "1234.5");
    for (double v : {1.0 / 3.0, 2.0e-7, 123456789.125, 6.02214076e23}) {
        EXPECT_EQ(std::stod(written(v)), v) << written(v);
    }
}

TEST(JsonWriterNumbers, NonFiniteIsNull) {
    EXPECT_EQ(written(std::numeric_limits<double>::quiet_NaN()), "null");
    EXPECT_EQ(written(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(written(-std::numeric_limits<float>::infinity()), "null");
}
