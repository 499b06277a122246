#include "core/evaluation/cal_readings.h"

#include <gtest/gtest.h>

#include <utility>

namespace pelix::evaluation {
namespace {

TEST(LeadingNumberTest, TakesTheNumberAReadingTextStartsWith) {
    const std::pair<const char*, double> cases[] = {
        {"29.74mm", 29.74}, {"0.117in", 0.117}, {"102%", 102}, {">104%", 0}, {"-----", 0},
        {"-----dB", 0},     {"-0.5dB", -0.5},   {"3", 3},      {"", 0},      {".5mm", 0.5},
    };
    for (const auto& [text, value] : cases)
        EXPECT_DOUBLE_EQ(leadingNumber(text), value) << text;
}

} // namespace
} // namespace pelix::evaluation
