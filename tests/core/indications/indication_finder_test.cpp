// Indications over crafted echo dynamics: runs, merging, the minimum length,
// the peak, and the drop extent with its bound, each case a line of a table.
#include "core/indications/indication_finder.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace pelix::indications {

// How a failing case names an indication.
void PrintTo(const Indication& i, std::ostream* out) {
    *out << "{" << i.first << ".." << i.last << " peak " << i.peakFrame << "=" << i.peakAmplitude << " drop "
         << i.dropFirst << ".." << i.dropLast << "}";
}

namespace {

// "60 70/3.5 - 40": one frame a word, from `first` on; "-" is a frame without
// amplitude, "/d" adds the frame's dB-to-reference reading.
AmplitudeSeries seriesOf(const std::string& words, int32_t first = 1) {
    AmplitudeSeries series(first);
    std::istringstream in(words);
    for (std::string word; in >> word;) {
        const std::size_t slash = word.find('/');
        const std::string amplitude = word.substr(0, slash);
        series.append(amplitude == "-" ? std::nullopt : std::optional<int32_t>(std::stoi(amplitude)),
                      slash == std::string::npos ? std::nullopt
                                                 : std::optional<double>(std::stod(word.substr(slash + 1))));
    }
    return series;
}

struct FinderCase {
    const char* name;
    const char* amplitudes;
    int32_t firstFrame;
    IndicationRules rules;
    std::vector<Indication> expected; // first, last, peak frame, peak amplitude, drop first, drop last
};

void PrintTo(const FinderCase& c, std::ostream* out) {
    *out << c.name;
}

IndicationRules level(int32_t percent, int32_t gap = 0, int32_t minimum = 1, double drop = 6.0) {
    return {CountRule::atLeastPercent(percent), gap, minimum, drop};
}
IndicationRules aboveReference(double dB, int32_t gap = 0, int32_t minimum = 1) {
    return {CountRule::atLeastDbToReference(dB), gap, minimum, 6.0};
}

class IndicationFinderTest : public ::testing::TestWithParam<FinderCase> {};

TEST_P(IndicationFinderTest, FindsTheIndicationsOfTheSeries) {
    const FinderCase& c = GetParam();
    const std::vector<Indication> found = findIndications(seriesOf(c.amplitudes, c.firstFrame), c.rules);
    EXPECT_EQ(found, c.expected);
}

// Drop bounds at 6 dB: peak 100 -> 51, 90 -> 46, 80 -> 41, 70 -> 36, 60 -> 31.
const FinderCase kFinderCases[] = {
    {"Plateau", "0 60 60 60 0", 1, level(50), {{2, 4, 2, 60, 2, 4}}},
    {"PlateauPeakIsItsFirstFrame", "10 40 80 80 80 40 10", 1, level(50), {{3, 5, 3, 80, 3, 5}}},
    {"TieForThePeakGoesToTheFirst", "0 60 80 70 80 0", 1, level(50), {{2, 5, 3, 80, 2, 5}}},
    {"LevelReachedExactlyCounts", "49 50 49", 1, level(50), {{2, 2, 2, 50, 1, 3}}},
    {"RunsTouchingBothEndsOfTheRange",
     "70 80 0 0 90 60",
     101,
     level(50),
     {{101, 102, 102, 80, 101, 102}, {105, 106, 105, 90, 105, 106}}},
    {"NothingCountsNothingFound", "10 20 30 - 40", 1, level(50), {}},
    {"EmptySeries", "", 1, level(50), {}},
    {"DropExtentRunsPastItsRun",
     "10 30 45 60 100 55 45 30 10",
     1,
     level(50, 0, 1, 12.0),
     {{4, 6, 5, 100, 2, 8}}},
    {"DropExtentToTheEndsOfTheRange",
     "40 45 60 100 55 45 40",
     1,
     level(50, 0, 1, 12.0),
     {{3, 5, 4, 100, 1, 7}}},
    {"DropExtentStopsAtAFrameWithoutAmplitude", "40 - 60 40 40 - 40", 1, level(50), {{3, 3, 3, 60, 3, 5}}},
    {"GateSwitchedOffMidRunSplitsItEvenWithAMergeGap",
     "0 60 70 - 90 60 0",
     1,
     level(50, 3),
     {{2, 3, 3, 70, 2, 3}, {5, 6, 5, 90, 5, 6}}},
    {"NoMergeWithoutAGap",
     "60 0 0 60 0 0 0 60",
     1,
     level(50),
     {{1, 1, 1, 60, 1, 1}, {4, 4, 4, 60, 4, 4}, {8, 8, 8, 60, 8, 8}}},
    {"GapOfTwoMerges", "60 0 0 70 0 0 0 60", 1, level(50, 2), {{1, 4, 4, 70, 4, 4}, {8, 8, 8, 60, 8, 8}}},
    {"GapOfThreeMergesAll", "60 0 0 70 0 0 0 60", 1, level(50, 3), {{1, 8, 4, 70, 4, 4}}},
    {"MinimumLengthDropsShortRuns", "60 60 0 60 0 60 60 60", 1, level(50, 0, 3), {{6, 8, 6, 60, 6, 8}}},
    {"MinimumLengthCountsTheMergedRun", "60 0 60 0 0 0 70", 1, level(50, 1, 3), {{1, 3, 1, 60, 1, 1}}},
    {"DropExtentCrossesTheMergedGap", "80 45 45 80 0", 1, level(50, 2), {{1, 4, 1, 80, 1, 4}}},
    // The bound at 6 dB of a peak of 100 is 50.12: 51 is within it, 50 is not (rounding
    // the bound to 50 would take it in).
    {"SixDbBoundIsNotRounded", "50 100 51 50", 1, level(90), {{2, 2, 2, 100, 2, 3}}},
    // Exact ratios: 20 dB is a tenth, 40 dB a hundredth, 0 dB the peak itself.
    {"TwentyDbBoundIsExactlyATenth", "9 10 100 10 9", 1, level(90, 0, 1, 20.0), {{3, 3, 3, 100, 2, 4}}},
    {"FortyDbBoundIsExactlyAHundredth", "0 1 100 2 0", 1, level(90, 0, 1, 40.0), {{3, 3, 3, 100, 2, 4}}},
    {"ZeroDbKeepsOnlyThePeakHeight", "99 100 100 99", 1, level(100, 0, 1, 0.0), {{2, 3, 2, 100, 2, 3}}},
    {"LevelZeroCountsEveryFrameWithAmplitude",
     "0 0 - 5",
     1,
     level(0),
     {{1, 2, 1, 0, 1, 2}, {4, 4, 4, 5, 4, 4}}},
    {"AmplitudesBeyondAByteStayExact", "300 1000 254 -5 253", 1, level(254), {{1, 3, 2, 1000, 2, 2}}},
    // dB to reference: a frame without a reading does not count but neither ends a run
    // nor stops the drop; a frame without amplitude does both, whatever its reading.
    {"DbToReferenceFromTheReadingNotTheAmplitude",
     "90/1.9 40/2.0 50/3.5 45/3.4 20/-4",
     1,
     aboveReference(2.0),
     {{2, 4, 3, 50, 1, 4}}},
    {"DbToReferenceMissingReadingsDoNotCount",
     "60/3 70 80/3 0/-9",
     1,
     aboveReference(3.0),
     {{1, 1, 1, 60, 1, 3}, {3, 3, 3, 80, 1, 3}}},
    {"DbToReferenceMissingReadingsBridgedByTheGap",
     "60/3 70 80/3 0/-9",
     1,
     aboveReference(3.0, 1),
     {{1, 3, 3, 80, 1, 3}}},
    {"DbToReferenceNoAmplitudeEndsTheRun",
     "60/3 -/9 80/3",
     1,
     aboveReference(3.0, 1),
     {{1, 1, 1, 60, 1, 1}, {3, 3, 3, 80, 3, 3}}},
};

INSTANTIATE_TEST_SUITE_P(Series, IndicationFinderTest, ::testing::ValuesIn(kFinderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(IndicationFinder, VisitorEndsTheSearch) {
    int seen = 0;
    findIndications(seriesOf("60 0 60 0 60"), level(50), [&seen](const Indication&) { return ++seen < 2; });
    EXPECT_EQ(seen, 2);
}

TEST(IndicationFinder, HostileRulesAreReadAsTheNearestSensibleOnes) {
    const AmplitudeSeries series = seriesOf("60 0 60 40 -");
    EXPECT_EQ(findIndications(series, level(50, -4, -2, -6.0)),
              (std::vector<Indication>{{1, 1, 1, 60, 1, 1}, {3, 3, 3, 60, 3, 3}}));
    EXPECT_EQ(findIndications(series, level(50, 0, 1, std::nan(""))),
              findIndications(series, level(50, 0, 1, 0.0)));
    EXPECT_EQ(findIndications(series, level(50, 0, 1, 1e9)).back(), (Indication{3, 3, 3, 60, 3, 4}));
}

// Frame numbers up to the largest a recording can hold.
TEST(IndicationFinder, RunEndingAtTheLargestFrameNumber) {
    AmplitudeSeries series(INT32_MAX - 2);
    for (int32_t a : {0, 70, 80, 90})
        series.append(a);
    EXPECT_EQ(series.lastFrame(), INT32_MAX);
    EXPECT_EQ(findIndications(series, level(50)),
              (std::vector<Indication>{{INT32_MAX - 1, INT32_MAX, INT32_MAX, 80, INT32_MAX - 1, INT32_MAX}}));
}

struct FloorCase {
    int32_t peak;
    double dropDb;
    int64_t floor;
};

TEST(DropFloor, SmallestAmplitudeWithinTheDrop) {
    const FloorCase cases[] = {
        {100, 6.0, 51},
        {100, 20.0, 10},
        {100, 40.0, 1},
        {100, 0.0, 100},
        {0, 6.0, 0},
        {1, 6.0, 1},
        {3, 6.0, 2},
        {4, 6.0, 3},
        {80, 6.0, 41},
        {100, 3.0, 71},
        {-10, 6.0, -5},
        {INT32_MAX, 6.0, 1076291389},
        {INT32_MIN, 0.0, INT32_MIN},
    };
    for (const FloorCase& c : cases) {
        const int64_t floor = dropFloor(c.peak, c.dropDb);
        EXPECT_EQ(floor, c.floor) << c.peak << " at " << c.dropDb << " dB";
    }
}

TEST(DropLength, FramesSecondsAndTheEstimatedTravel) {
    const Indication i{10, 12, 11, 80, 9, 13};
    const DropLength at50 = dropLength(i, 50);
    EXPECT_EQ(at50.frames, 5);
    EXPECT_DOUBLE_EQ(at50.seconds, 0.1);
    EXPECT_FALSE(at50.millimetres);
    const DropLength at10 = dropLength(i, 10, 20.0);
    EXPECT_DOUBLE_EQ(at10.seconds, 0.5);
    ASSERT_TRUE(at10.millimetres);
    EXPECT_DOUBLE_EQ(*at10.millimetres, 10.0);
    EXPECT_FALSE(dropLength(i, 10, 0.0).millimetres);
    EXPECT_FALSE(dropLength(i, 10, std::nan("")).millimetres);
    // The travel is the decimal a person works out, not the seconds' rounding times the speed.
    const DropLength long50 = dropLength(Indication{1, 251, 1, 80, 1, 251}, 50, 20.0);
    ASSERT_TRUE(long50.millimetres);
    EXPECT_EQ(*long50.millimetres, 100.4);
}

TEST(AmplitudeSeries, GivesBackEveryAmplitudeAndReadingAsAppended) {
    const std::vector<std::optional<int32_t>> amplitudes = {0,   253,       254,       255,  std::nullopt, -1,
                                                            100, INT32_MAX, INT32_MIN, 1000, std::nullopt};
    AmplitudeSeries series(5);
    series.append(amplitudes[0]); // readings start later: earlier frames have none
    for (std::size_t i = 1; i < amplitudes.size(); ++i)
        series.append(amplitudes[i],
                      i % 2 ? std::optional<double>(static_cast<double>(i) - 4.3) : std::nullopt);
    ASSERT_EQ(series.size(), static_cast<int64_t>(amplitudes.size()));
    EXPECT_EQ(series.firstFrame(), 5);
    EXPECT_EQ(series.lastFrame(), 15);
    for (std::size_t i = 0; i < amplitudes.size(); ++i) {
        const auto frame = static_cast<int32_t>(5 + i);
        EXPECT_EQ(series.amplitude(frame), amplitudes[i]) << frame;
        const std::optional<double> dB = series.dbToReference(frame);
        if (i % 2) {
            ASSERT_TRUE(dB) << frame;
            EXPECT_DOUBLE_EQ(*dB, static_cast<double>(i) - 4.3);
        } else {
            EXPECT_FALSE(dB) << frame;
        }
    }
    EXPECT_FALSE(series.amplitude(4));
    EXPECT_FALSE(series.amplitude(16));
}

// The walk of the drop extent jumps whole blocks of frames; it must stop exactly where a
// frame-by-frame walk stops, at block edges, at the end of a partial last block and at frames
// without amplitude.
TEST(AmplitudeSeries, BlockWalkStopsWhereAFrameByFrameWalkStops) {
    std::mt19937 random(7);
    AmplitudeSeries series(3);
    std::vector<std::optional<int32_t>> plain;
    const int32_t frames = 3 * 4096 + 77;
    for (int32_t i = 0; i < frames; ++i) {
        std::optional<int32_t> amplitude = 60 + static_cast<int32_t>(random() % 40);
        const uint32_t pick = random() % 1000;
        if (pick < 3)
            amplitude = std::nullopt;
        else if (pick < 8)
            amplitude = static_cast<int32_t>(random() % 60);
        else if (pick < 10)
            amplitude = 300;
        series.append(amplitude);
        plain.push_back(amplitude);
    }
    const auto naive = [&](int32_t from, int step, int64_t floor) {
        int64_t at = from - 3;
        while (at + step >= 0 && at + step < frames && plain[static_cast<std::size_t>(at + step)] &&
               *plain[static_cast<std::size_t>(at + step)] >= floor)
            at += step;
        return static_cast<int32_t>(at + 3);
    };
    for (int trial = 0; trial < 3000; ++trial) {
        const auto from = static_cast<int32_t>(3 + random() % static_cast<uint32_t>(frames));
        const int64_t floor = static_cast<int64_t>(random() % 70);
        for (int step : {-1, 1})
            ASSERT_EQ(series.reachAtLeast(from, step, floor), naive(from, step, floor))
                << "from " << from << " step " << step << " floor " << floor;
    }
    // Edges of blocks and of the series themselves.
    for (int32_t from : {3, 3 + 63, 3 + 64, 3 + 4095, 3 + 4096, frames + 2})
        for (int step : {-1, 1})
            EXPECT_EQ(series.reachAtLeast(from, step, 0), naive(from, step, 0)) << from;
}

} // namespace
} // namespace pelix::indications
