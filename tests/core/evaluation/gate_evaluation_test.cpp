// Gate evaluation on synthetic traces: the sample range of a gate, the
// amplitude, flank and peak searches with their marks, and the six results.
#include "core/evaluation/gate_evaluation.h"
#include "core/recording/record_layout.h"

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <tuple>
#include <utility>
#include <vector>

namespace pelix::evaluation {
namespace {

using recording::FrameHeader;
using recording::RecordingHeader;
using Trace = std::array<int16_t, recording::kAscanPointCount>;

// 100 mm recorded: the 800 samples span 110 mm, so 11 mm is 80 samples.
// 5920 m/s, no delays.
RecordingHeader setup(int32_t rectification = 3) {
    RecordingHeader h;
    h.Rectification = rectification;
    h.DisplayRange_um = 100000;
    h.Velocity = 59200;
    return h;
}

FrameHeader frame(int32_t gateAThreshold = 20, int32_t gateAMode = 1) {
    FrameHeader f;
    f.GateAThreshold = gateAThreshold;
    f.GateAMode = gateAMode;
    f.GateAWidth_um = 11000;
    f.GateBWidth_um = 11000;
    return f;
}

Trace trace(std::initializer_list<std::pair<int, int16_t>> samples) {
    Trace t{};
    for (const auto& [index, value] : samples)
        t[static_cast<std::size_t>(index)] = value;
    return t;
}

// An echo of `height` spread over index-2 .. index+2.
void echo(Trace& t, int index, int16_t height) {
    for (int d = -2; d <= 2; ++d)
        t[static_cast<std::size_t>(index + d)] = static_cast<int16_t>(height - 300 * (d < 0 ? -d : d));
}

GateEvaluation evaluator(const RecordingHeader& h, const FrameHeader& f, const Trace& t) {
    GateEvaluation e;
    e.setRecording(h);
    e.setFrame(f, t);
    return e;
}

TEST(GateEvaluationTest, GateRangeOnTheDisplayedSamplesIsClamped) {
    struct Case {
        const char* what;
        int32_t displayDelay_ns, start_um, width_um, from, to;
    };
    const Case cases[] = {
        {"inside", 0, 11000, 11000, 80, 160},
        {"ends beyond the display", 0, 68750, 68750, 500, 799},
        {"starts before the display", 0, -5000, 11000, 0, 44},
        {"wholly before the display", 0, -50000, 1000, 0, 0},
        {"beyond the display", 0, 200000, 1000, 799, 799},
        // 3378.38 ns at 5920 m/s is a display start at 10 mm of path.
        {"display delay moves the range", 3378, 21000, 11000, 80, 160},
    };
    for (const Case& c : cases) {
        RecordingHeader h = setup();
        h.DisplayDelay_ns = c.displayDelay_ns;
        const PointRange r = evaluator(h, frame(), {}).GetPointRange(c.start_um, c.width_um);
        EXPECT_EQ(r.from, c.from) << c.what;
        EXPECT_EQ(r.to, c.to) << c.what;
    }
}

TEST(GateEvaluationTest, TimeOfASampleIndexInTicks) {
    const GateEvaluation e = evaluator(setup(), frame(), {});
    // 100 samples: 13736 um of path, 4641 ns there and back, 1857 ticks of 2.5 ns.
    EXPECT_EQ(e.timeOfIndex(100), 1857);
    EXPECT_EQ(e.timeOfIndex(0), 0);

    // The delays count in ns (40 ns of probe delay, 60 ns of display delay: 40 ticks more).
    RecordingHeader delayed = setup();
    delayed.ProbeDelay = 40;
    delayed.DisplayDelay_ns = 60;
    EXPECT_EQ(evaluator(delayed, frame(), {}).timeOfIndex(100), 1857 + 40);

    // A negative display delay cannot make a time below 0, which would read as "nothing found".
    RecordingHeader early = setup();
    early.DisplayDelay_ns = -100000;
    EXPECT_EQ(evaluator(early, frame(), {}).timeOfIndex(10), 0);
}

TEST(GateEvaluationTest, LevelIsOnTheSampleScaleAndHalvedInRf) {
    EXPECT_EQ(evaluator(setup(3), frame(), {}).levelOf(20), 820);
    EXPECT_EQ(evaluator(setup(3), frame(), {}).levelOf(-20), 820);
    EXPECT_EQ(evaluator(setup(0), frame(), {}).levelOf(21), 430); // 430.5, halves to even
    EXPECT_EQ(evaluator(setup(0), frame(), {}).levelOf(23), 472); // 471.5
}

TEST(GateEvaluationTest, AmplitudeIsTheLargestSampleMarkedBelowTheThreshold) {
    Trace t{};
    echo(t, 120, 2000);
    echo(t, 200, 4000); // outside the gate
    const GateEvaluation e = evaluator(setup(), frame(), t);
    EXPECT_EQ(e.FindGateAMP(11000, 11000, 20), 2000);
    EXPECT_EQ(e.FindGateAMP(11000, 11000, 60), 2000 + kNothingFoundMark); // level 2460

    const GateEvaluation silent = evaluator(setup(), frame(), {});
    EXPECT_EQ(silent.FindGateAMP(11000, 11000, 20), kNothingFoundMark);
    EXPECT_EQ(silent.FindGateAMP(11000, 11000, 0), 0); // nothing is below a level of 0
}

TEST(GateEvaluationTest, FlankNeedsASampleBelowTheLevelFirst) {
    const GateEvaluation e0 = evaluator(setup(), frame(), {});
    // The gate opens on an echo already above the level: no crossing there.
    Trace t{};
    for (int i = 78; i <= 90; ++i)
        t[static_cast<std::size_t>(i)] = 3000;
    const GateEvaluation insideOnly = evaluator(setup(), frame(), t);
    EXPECT_EQ(insideOnly.FindGateTOF(11000, 11000, 20), e0.timeOfIndex(0) + kNothingFoundMark);

    // A later rising crossing is found, at the first sample on or above the level.
    echo(t, 120, 2000); // 1400 at 118, above 820
    const GateEvaluation later = evaluator(setup(), frame(), t);
    EXPECT_EQ(later.FindGateTOF(11000, 11000, 20), e0.timeOfIndex(118));

    // Noise of a few percent stays below the level of a 20 % threshold.
    Trace noise{};
    for (int i = 80; i <= 160; i += 2)
        noise[static_cast<std::size_t>(i)] = 400;
    EXPECT_GE(evaluator(setup(), frame(), noise).FindGateTOF(11000, 11000, 20), kNothingFoundMark);
}

TEST(GateEvaluationTest, SearchesStopAtTheLastDisplayedSample) {
    // Index 800 (rectified) and 1600 (RF) lie beyond the displayed trace.
    const Trace rectified = trace({{800, 4000}});
    EXPECT_GE(evaluator(setup(3), frame(), rectified).FindGateTOF(100000, 20000, 20), kNothingFoundMark);
    const Trace rf = trace({{1600, 4000}});
    EXPECT_GE(evaluator(setup(0), frame(), rf).FindGateTOF(100000, 20000, 20), kNothingFoundMark);
    EXPECT_GE(evaluator(setup(0), frame(20, 2), rf).FindGatePeakTOF(100000, 20000, 20), kNothingFoundMark);
}

TEST(GateEvaluationTest, PeakSearchModes) {
    Trace t{};
    echo(t, 100, 2000);
    echo(t, 140, 4000);
    const GateEvaluation any = evaluator(setup(), frame(), {});
    // Mode 2 measures the first excursion above the level only.
    EXPECT_EQ(evaluator(setup(), frame(20, 2), t).FindGatePeakTOF(11000, 11000, 20), any.timeOfIndex(100));
    EXPECT_EQ(evaluator(setup(), frame(20, 1), t).FindGatePeakTOF(11000, 11000, 20), any.timeOfIndex(140));
    // A peak below the level is marked; the largest one still gives the time.
    EXPECT_EQ(evaluator(setup(), frame(20, 1), t).FindGatePeakTOF(11000, 11000, 99),
              any.timeOfIndex(140) + kNothingFoundMark);
    // Gate A in peak mode: the time search takes the largest sample, marked
    // like the peak time when that sample stays below the level.
    EXPECT_EQ(evaluator(setup(), frame(20, 0), t).FindGateTOF(11000, 11000, 99),
              any.timeOfIndex(140) + kNothingFoundMark);
    EXPECT_EQ(evaluator(setup(), frame(20, 0), t).FindGateTOF(11000, 11000, 20), any.timeOfIndex(140));
    EXPECT_EQ(evaluator(setup(), frame(20, 0), {}).FindGateTOF(11000, 11000, 20),
              any.timeOfIndex(0) + kNothingFoundMark);
    EXPECT_EQ(evaluator(setup(), frame(0, 0), {}).FindGateTOF(11000, 11000, 0), any.timeOfIndex(0));
}

// A gate slid along a rising flank (5 per sample) in peak mode: the gate's
// largest sample is its last one, so the gate position decides whether that
// sample is below, at or above the level. The time search, the peak time and
// the amplitude must agree on whether the gate holds an echo.
TEST(GateEvaluationTest, PeakModeFindsNoEchoBelowTheLevelOnARisingFlank) {
    struct Case {
        const char* what;
        int32_t rectification, threshold, start_um;
        int32_t lastIndex; // the gate's last sample, where its largest one lies
        bool marked;
    };
    // Rectified: level |20| x 41 = 820 = sample 164. RF: round(820 / 2) = 410 = sample 82.
    const Case cases[] = {
        {"rectified, largest just below", 3, 20, 11413, 163, true},
        {"rectified, largest at the level", 3, 20, 11550, 164, false},
        {"rectified, largest above", 3, 20, 11688, 165, false},
        {"rectified, negative threshold below", 3, -20, 11413, 163, true},
        {"rectified, negative threshold at", 3, -20, 11550, 164, false},
        {"RF positive half, below", 0, 20, 138, 81, true},
        {"RF positive half, at", 0, 20, 275, 82, false},
        {"RF positive half, above", 0, 20, 413, 83, false},
        {"RF negative half, below", 0, -20, 138, 81, true},
        {"RF negative half, at", 0, -20, 275, 82, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The flank lies on the half-wave the threshold's sign selects; the
        // other half is at full height, so measuring the wrong half shows.
        Trace t{};
        const bool rf = c.rectification == 0;
        const std::size_t flankHalf = rf && c.threshold >= 0 ? 800 : 0;
        for (std::size_t i = 0; i < 800; ++i) {
            t[flankHalf + i] = static_cast<int16_t>(5 * i);
            if (rf) t[(800 - flankHalf) + i] = 4000;
        }
        const GateEvaluation e = evaluator(setup(c.rectification), frame(c.threshold, 0), t);
        ASSERT_EQ(e.GetPointRange(c.start_um, 11000).to, c.lastIndex);
        const double mark = c.marked ? kNothingFoundMark : 0.0;
        EXPECT_EQ(e.FindGateTOF(c.start_um, 11000, c.threshold), e.timeOfIndex(c.lastIndex) + mark);
        EXPECT_EQ(e.FindGatePeakTOF(c.start_um, 11000, c.threshold), e.timeOfIndex(c.lastIndex) + mark);
        EXPECT_EQ(isMarked(e.FindGateAMP(c.start_um, 11000, c.threshold)), c.marked);
    }
}

TEST(GateEvaluationTest, RfHalfWaveFollowsTheSignOfGateAsThreshold) {
    Trace t{};
    echo(t, 120, 1500);       // first half: the negative half-wave
    echo(t, 800 + 120, 3500); // second half: the positive one
    MovedGates gates{11.0F, 11.0F, -30, 30, true, true};
    GateEvaluation negative = evaluator(setup(0), frame(-30), t);
    negative.GetGateData(gates);
    EXPECT_EQ(negative.gateData()[0], 1500);
    EXPECT_EQ(negative.gateData()[3], 1500); // gate B follows gate A's sign

    GateEvaluation positive = evaluator(setup(0), frame(30), t);
    gates.newGateAThresh = 30;
    positive.GetGateData(gates);
    EXPECT_EQ(positive.gateData()[0], 3500);
    EXPECT_EQ(positive.gateData()[3], 3500);
}

TEST(GateEvaluationTest, GateBTimesRelativeToGateAOnlyWhenLater) {
    Trace t{};
    echo(t, 100, 3000);
    echo(t, 200, 3000);
    const GateEvaluation any = evaluator(setup(), frame(), {});
    struct Case {
        const char* what;
        float aStart, bStart;
        int32_t relative;
        double bFlank;
    };
    const Case cases[] = {
        {"absolute", 11.0F, 22.0F, 0, any.timeOfIndex(198)},
        {"B later than A", 11.0F, 22.0F, 1, any.timeOfIndex(198) - any.timeOfIndex(98)},
        {"any non-zero word", 11.0F, 22.0F, 5, any.timeOfIndex(198) - any.timeOfIndex(98)},
        {"B earlier than A stays absolute", 22.0F, 11.0F, 1, any.timeOfIndex(98)},
    };
    for (const Case& c : cases) {
        RecordingHeader h = setup();
        h.GateBRelative = c.relative;
        GateEvaluation e = evaluator(h, frame(), t);
        e.GetGateData({c.aStart, c.bStart, 20, 20, true, true});
        EXPECT_EQ(e.gateData()[4], c.bFlank) << c.what;
    }
    // A gate B that found nothing keeps its mark.
    RecordingHeader h = setup();
    h.GateBRelative = 1;
    GateEvaluation e = evaluator(h, frame(), t);
    e.GetGateData({11.0F, 44.0F, 20, 20, true, true});
    EXPECT_GE(e.gateData()[4], kNothingFoundMark);
}

TEST(GateEvaluationTest, HiddenGateKeepsItsResultsAndInchStartsConvert) {
    Trace t{};
    echo(t, 120, 2500);
    RecordingHeader inch = setup();
    inch.Units = 1;
    GateEvaluation e = evaluator(inch, frame(), t);
    // 0.433 in is 10998 um: the gate starts at sample 80.
    e.GetGateData({0.433F, 0.433F, 20, 20, true, true});
    EXPECT_EQ(e.gateData()[0], 2500);
    EXPECT_EQ(e.gateData()[3], 2500);
    e.setFrame(frame(), {});
    e.GetGateData({0.433F, 0.433F, 20, 20, true, false});
    EXPECT_EQ(e.gateData()[0], kNothingFoundMark);
    EXPECT_EQ(e.gateData()[3], 2500);
    e.clearGateData();
    EXPECT_EQ(e.gateData()[3], 0);
}

TEST(GateEvaluationTest, DegenerateSetupsStayInsideTheTrace) {
    for (const auto& [range, velocity, rect] :
         {std::tuple{0, 59200, 3}, std::tuple{100000, 0, 3}, std::tuple{INT32_MAX, INT32_MAX, 0},
          std::tuple{100000, 59200, 9}}) {
        RecordingHeader h = setup(rect);
        h.DisplayRange_um = range;
        h.Velocity = velocity;
        h.DisplayDelay_ns = INT32_MIN;
        h.ProbeDelay = INT32_MIN;
        GateEvaluation e = evaluator(h, frame(INT32_MIN, 2), trace({{0, 4080}, {799, 4080}, {1600, 4080}}));
        e.GetGateData({1e30F, -1e30F, INT32_MIN, INT32_MAX, true, true});
        for (const double v : e.gateData()) {
            EXPECT_GE(v, 0.0);
            EXPECT_LT(v, 2.0 * kNothingFoundMark);
        }
        EXPECT_EQ(e.GetAscanAmp(-1), 0);
        EXPECT_EQ(e.GetAscanAmp(100000), 0);
    }
}

// The lean re-measure hands the evaluation the recorded sample block and lets it decode only its
// gates' samples, and measures a gate in one pass: over many frames, setups and gates the six
// results are those of the whole decoded trace, and gate by gate those of the three searches.
TEST(GateEvaluationTest, TheSampleBlockGivesTheWholeTracesResults) {
    uint32_t seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1103515245U + 12345U;
        return seed >> 8;
    };
    std::vector<uint8_t> block(recording::kSampleBlockBytes);
    struct Gates {
        float a, b;
        int32_t thresholdA, thresholdB;
    };
    const std::vector<Gates> gates = {
        {10.0F, 40.0F, 30, 20}, {0.0F, 100.0F, -25, 50},   {-20.0F, 5.0F, 0, -1},
        {108.0F, 60.0F, 80, 5}, {55.5F, 55.5F, 100, -100}, {30.0F, 31.0F, 10, 10},
    };
    GateEvaluation fromBlock; // one evaluator for every frame, as a worker keeps it
    for (int frameIndex = 0; frameIndex < 120; ++frameIndex) {
        const int32_t rect = frameIndex % 5; // 4: unknown
        const int32_t mode = frameIndex / 5 % 3;
        // Noise with a few echoes, so the thresholds fall on both sides of the samples.
        for (std::size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<uint8_t>(next() % 60);
        for (int e = 0; e < 4; ++e)
            block[next() % block.size()] = static_cast<uint8_t>(150 + next() % 106);
        RecordingHeader h = setup(rect);
        h.GateBRelative = frameIndex % 2;
        h.DisplayDelay_ns = frameIndex % 7 == 0 ? -2000 : 0;
        FrameHeader f = frame(0, mode);
        f.GateAWidth_um = static_cast<int32_t>(next() % 30000) - 1000;
        f.GateBWidth_um = static_cast<int32_t>(next() % 30000);
        Trace t;
        t.fill(0);
        recording::composeRawSamples(rect, block.data(), t);
        for (const Gates& g : gates) {
            SCOPED_TRACE("frame " + std::to_string(frameIndex) + " gate A at " + std::to_string(g.a));
            f.GateAThreshold = g.thresholdA;
            f.GateBThreshold = g.thresholdB;
            const MovedGates moved{g.a, g.b, g.thresholdA, g.thresholdB, true, true};
            GateEvaluation whole = evaluator(h, f, t);
            whole.GetGateData(moved);
            fromBlock.setRecording(h);
            fromBlock.setFrameBlock(f, block.data());
            fromBlock.clearGateData();
            fromBlock.GetGateData(moved);
            ASSERT_EQ(fromBlock.gateData(), whole.gateData());
            if (h.GateBRelative != 0) continue;
            const int32_t aStart = static_cast<int32_t>(std::lround(g.a * 1000.0F));
            const int32_t bStart = static_cast<int32_t>(std::lround(g.b * 1000.0F));
            const GateDataArray searched = {whole.FindGateAMP(aStart, f.GateAWidth_um, g.thresholdA),
                                            whole.FindGateTOF(aStart, f.GateAWidth_um, g.thresholdA),
                                            whole.FindGatePeakTOF(aStart, f.GateAWidth_um, g.thresholdA),
                                            whole.FindGateAMP(bStart, f.GateBWidth_um, g.thresholdB),
                                            whole.FindGateTOF(bStart, f.GateBWidth_um, g.thresholdB),
                                            whole.FindGatePeakTOF(bStart, f.GateBWidth_um, g.thresholdB)};
            ASSERT_EQ(whole.gateData(), searched);
        }
    }
}

} // namespace
} // namespace pelix::evaluation
