// The frame test against the rule written out plainly.
#include "core/recording/decoded_trace.h"
#include "core/search/frame_test.h"
#include "support/search_plain_rule.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

namespace {

using pelix::recording::composeSamples;
using pelix::recording::DecodedTrace;
using pelix::recording::kSampleBlockBytes;
using pelix::search::FrameTest;
using pelix::search::SearchLimits;
using Block = std::array<uint8_t, kSampleBlockBytes>;

bool plainRule(int32_t rectification, const Block& block, const SearchLimits& s) {
    return pelix::testing::plainSearchRule(rectification, block.data(), s);
}

// The byte whose screen percent is p (p = x * 16 / 41 rounded).
uint8_t byteFor(int percent) {
    for (int b = 0; b < 256; ++b)
        if (pelix::recording::screenPercent(static_cast<uint8_t>(b)) == percent)
            return static_cast<uint8_t>(b);
    ADD_FAILURE() << "no byte gives " << percent << " %";
    return 0;
}

Block blockWith(std::initializer_list<std::pair<int, int>> bytes) {
    Block b{};
    for (const auto& [at, percent] : bytes)
        b[static_cast<std::size_t>(at)] = byteFor(percent);
    return b;
}

TEST(FrameTestTest, AgreesWithThePlainRuleForEveryRectification) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255), pair(0, 799), count(0, 6);
    // Limits on whole and half sample indexes, on exact percents, past the ends, reversed.
    const double widths[] = {-20,   -0.5,  0,   0.5,   1.5, 99.5,  100,    100.5, 101.5, 399.4,
                             400.5, 798.5, 799, 799.5, 800, 812.5, 1599.5, 1600,  1700};
    const double heights[] = {-10, -0.5, 0, 0.5, 20, 50, 50.5, 99.5, 100, 120};
    int matches = 0, cases = 0;
    for (int round = 0; round < 400; ++round) {
        Block block{};
        // Mostly quiet traces with a few echoes, so that the windows decide.
        const int echoes = count(random);
        for (int e = 0; e < echoes; ++e)
            block[static_cast<std::size_t>(2 * pair(random) + (e & 1))] = byte(random);
        if (round % 7 == 0)
            for (auto& b : block)
                b = static_cast<uint8_t>(byte(random) / 8);
        for (int32_t rect : {0, 1, 2, 3, 4, -1}) {
            std::uniform_int_distribution<std::size_t> w(0, std::size(widths) - 1),
                h(0, std::size(heights) - 1);
            SearchLimits s{widths[w(random)], widths[w(random)], heights[h(random)], heights[h(random)]};
            if (round % 4 != 0) { // mostly boxes the right way round
                if (s.SearchLowwidthRange > s.SearchUpwidthRange)
                    std::swap(s.SearchLowwidthRange, s.SearchUpwidthRange);
                if (s.SearchLowhightlimit > s.SearchUphightlimit)
                    std::swap(s.SearchLowhightlimit, s.SearchUphightlimit);
            }
            const bool expected = plainRule(rect, block, s);
            ASSERT_EQ(FrameTest(rect, s).matches(block.data()), expected)
                << "rect " << rect << " box " << s.SearchLowwidthRange << "," << s.SearchUpwidthRange << ","
                << s.SearchLowhightlimit << "," << s.SearchUphightlimit << " round " << round;
            matches += expected;
            ++cases;
        }
    }
    // Both outcomes are well represented.
    EXPECT_GT(matches, cases / 10);
    EXPECT_LT(matches, cases * 9 / 10);
}

TEST(FrameTestTest, EdgesOfTheBox) {
    // One echo of 50 % at sample pair 100: negative half-wave (byte 200), positive (byte 201).
    const Block negative = blockWith({{200, 50}});
    const Block positive = blockWith({{201, 50}});
    const struct {
        const char* what;
        int32_t rect;
        const Block& block;
        SearchLimits box;
        bool matches;
    } cases[] = {
        {"inside", 1, negative, {90, 110, 40, 60}, true},
        {"on the lower limit", 1, negative, {90, 110, 50, 60}, false},
        {"on the upper limit", 1, negative, {90, 110, 40, 50}, false},
        {"just inside the lower limit", 1, negative, {90, 110, 49.99, 60}, true},
        {"rectified left limit 100 is inclusive", 1, negative, {100, 110, 40, 60}, true},
        {"rectified right limit 100 is inclusive", 1, negative, {90, 100, 40, 60}, true},
        {"99.5 rounds to 100", 1, negative, {80, 99.5, 40, 60}, true},
        {"100.5 rounds to 100", 1, negative, {100.5, 110, 40, 60}, true},
        {"101.5 rounds to 102", 1, negative, {101.5, 110, 40, 60}, false},
        {"98.5 rounds to 98", 1, negative, {80, 98.5, 40, 60}, false},
        {"negative mode ignores the positive half-wave", 1, positive, {90, 110, 40, 60}, false},
        {"positive mode", 2, positive, {90, 110, 40, 60}, true},
        {"full wave takes the larger half", 3, positive, {90, 110, 40, 60}, true},
        {"RF left limit is strict", 0, negative, {100, 110, 40, 60}, false},
        {"RF right limit is strict", 0, negative, {90, 100, 40, 60}, false},
        {"RF just inside", 0, negative, {99.9, 100.1, 40, 60}, true},
        {"RF second half tested at the same column", 0, positive, {99.9, 100.1, 40, 60}, true},
        {"RF second half not at column 900", 0, positive, {899, 901, 40, 60}, false},
        {"unknown rectification", 5, negative, {90, 110, 40, 60}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FrameTest(c.rect, c.box).matches(c.block.data()), c.matches) << c.what;
}

TEST(FrameTestTest, FullWaveUpperIndexesHoldThePositiveHalfWave) {
    // Indexes 800.. of a full-wave trace are the positive half-wave of pairs 0..
    const Block positive = blockWith({{2 * 5 + 1, 70}});
    EXPECT_TRUE(FrameTest(3, {804.5, 806, 60, 80}).matches(positive.data()));
    const Block negative = blockWith({{2 * 5, 70}});
    EXPECT_FALSE(FrameTest(3, {804.5, 806, 60, 80}).matches(negative.data()));
    // The single half-wave modes hold 0 there, and so does index 1600 in every mode.
    const Block quiet{};
    EXPECT_TRUE(FrameTest(1, {810, 820, -1, 10}).matches(quiet.data()));
    EXPECT_FALSE(FrameTest(1, {810, 820, 0, 10}).matches(quiet.data()));
    EXPECT_TRUE(FrameTest(3, {1600, 1600, -1, 1}).matches(quiet.data()));
    EXPECT_FALSE(FrameTest(3, {1601, 2000, -1, 1}).matches(quiet.data()));
}

TEST(FrameTestTest, ABoxNothingCanPassSaysSoBeforeReading) {
    EXPECT_FALSE(FrameTest(7, {0, 800, 0, 100}).canMatch());
    EXPECT_FALSE(FrameTest(1, {0, 800, 100, 120}).canMatch());   // no byte reaches above 100 %
    EXPECT_FALSE(FrameTest(0, {300, 300.5, 0, 100}).canMatch()); // no whole column strictly inside
    EXPECT_FALSE(FrameTest(1, {NAN, 300, 0, 100}).canMatch());
    EXPECT_TRUE(FrameTest(0, {300, 301.5, 0, 100}).canMatch());
}

} // namespace
