// How an entry box's text is read as the number a jump goes to.
#include "core/playback/navigation.h"

#include "support/case_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace pelix::playback {
namespace {

struct NumberCase {
    const char* text;
    std::optional<int64_t> value;
};

class WholeNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(WholeNumber, ReadsWhatAnEntryBoxHolds) {
    EXPECT_EQ(readWholeNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, WholeNumber,
                         ::testing::Values(NumberCase{"17", 17}, NumberCase{" 17 ", 17}, NumberCase{"-3", -3},
                                           NumberCase{"+4", 4}, NumberCase{"2.5", 2}, NumberCase{"3.5", 4},
                                           NumberCase{"0", 0}, NumberCase{"", std::nullopt},
                                           NumberCase{" ", std::nullopt}, NumberCase{"a", std::nullopt},
                                           NumberCase{"12a", std::nullopt}, NumberCase{"1e3", std::nullopt},
                                           NumberCase{"99999999999999999999", 9000000000000000},
                                           NumberCase{".5", 0}, NumberCase{"5.", 5}, NumberCase{"-0.5", 0},
                                           NumberCase{".", std::nullopt}, NumberCase{"+", std::nullopt},
                                           NumberCase{"1.2.3", std::nullopt}, NumberCase{"\t7\n", 7},
                                           NumberCase{"\xd9\xa3", std::nullopt},
                                           NumberCase{"1 2", std::nullopt}),
                         [](const auto& info) {
                             // Blanks and bytes beyond ASCII count here, so they are spelt out.
                             std::string spelt;
                             for (const char c : std::string_view(info.param.text)) {
                                 if (c == ' ')
                                     spelt += " space ";
                                 else if (c == '\t')
                                     spelt += " tab ";
                                 else if (c == '\n')
                                     spelt += " newline ";
                                 else if (static_cast<unsigned char>(c) >= 0x80)
                                     spelt += " byte ";
                                 else
                                     spelt += c;
                             }
                             return pelix::testing::caseName("Text", spelt);
                         });

} // namespace
} // namespace pelix::playback
