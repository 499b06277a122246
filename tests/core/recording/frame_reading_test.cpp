// Sample composition, derived setup values, timing and short reads.
#include "core/recording/decoded_trace.h"
#include "core/recording/derived_setup.h"
#include "core/recording/frame_timing.h"
#include "core/recording/open_recording.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <vector>

using namespace pelix::recording;
using pelix::testing::TempFile;

namespace {

std::vector<uint8_t> blockOfPair(uint8_t b0, uint8_t b1, std::size_t at = 5) {
    std::vector<uint8_t> block(kSampleBlockBytes, 0);
    block[2 * at] = b0;
    block[2 * at + 1] = b1;
    return block;
}

TEST(SampleCompositionTest, ScalesBytesToScreenPercent) {
    const std::pair<uint8_t, int16_t> cases[] = {{255, 100}, {1, 0},   {2, 1}, {3, 1},
                                                 {200, 78},  {41, 16}, {0, 0}};
    for (const auto& [byte, percent] : cases)
        EXPECT_EQ(screenPercent(byte), percent) << int(byte);
}

TEST(SampleCompositionTest, EachRectificationPicksItsHalfWaves) {
    struct Case {
        int32_t rect;
        int16_t atP, atUpper, rawAtP, rectMode, numPoints;
    };
    // Pair (200, 0): b0 is the negative half-wave, b1 the positive one.
    for (const Case& c : {Case{0, 78, 0, 3200, 1, 1600}, Case{1, 78, -7, 3200, 0, 800},
                          Case{2, 0, -7, 0, 0, 800}, Case{3, 78, 0, 3200, 0, 800}}) {
        DecodedTrace trace;
        trace.AscanPoints.fill(-7); // what an earlier frame left
        const auto block = blockOfPair(200, 0);
        ASSERT_TRUE(composeSamples(c.rect, block.data(), trace));
        EXPECT_EQ(trace.AscanPoints[5], c.atP) << c.rect;
        EXPECT_EQ(trace.AscanPoints[805], c.atUpper) << c.rect;
        EXPECT_EQ(trace.AscanRaw[5], c.rawAtP) << c.rect;
        EXPECT_EQ(trace.mode.iAscanRectMode, c.rectMode);
        EXPECT_EQ(trace.mode.iAscanDrawMode, 0);
        EXPECT_EQ(trace.mode.iNumPoints, c.numPoints);
        EXPECT_EQ(trace.AscanPoints[1600], -7) << "index 1600 is never written";
    }
}

TEST(SampleCompositionTest, FullWaveTakesTheLargerScaledHalfAndKeepsB0OnATie) {
    DecodedTrace trace;
    auto block = blockOfPair(41, 41, 0);
    block[2] = 40; // pair 1: (40, 41) scale to 16 and 16: a tie on the scaled values
    block[3] = 41;
    block[4] = 10; // pair 2: b1 larger
    block[5] = 250;
    ASSERT_TRUE(composeSamples(3, block.data(), trace));
    EXPECT_EQ(trace.AscanPoints[0], 16);
    EXPECT_EQ(trace.AscanRaw[0], 16 * 41);
    EXPECT_EQ(trace.AscanRaw[1], 16 * 40) << "equal scaled values keep the b0 sample";
    EXPECT_EQ(trace.AscanPoints[2], screenPercent(250));
    EXPECT_EQ(trace.AscanRaw[2], 16 * 250);
    EXPECT_EQ(trace.AscanRaw[802], 16 * 250);
}

TEST(SampleCompositionTest, UnknownRectificationStoresNothing) {
    DecodedTrace trace;
    trace.AscanPoints.fill(9);
    const auto block = blockOfPair(200, 200);
    for (const int32_t rect : {4, -1, 0x7FFFFFFF}) {
        EXPECT_FALSE(composeSamples(rect, block.data(), trace));
        EXPECT_EQ(trace.AscanPoints[5], 9);
        EXPECT_FALSE(trace.modeKnown);
    }
}

// A re-measure decodes the raw samples alone: for every byte pair and rectification they are the
// trace's, and what a rectification leaves unwritten (or an unknown one) keeps its value.
TEST(SampleCompositionTest, RawSamplesAloneAreTheTracesRawSamples) {
    std::vector<uint8_t> block(kSampleBlockBytes);
    for (const int32_t rect : {0, 1, 2, 3, 4}) {
        for (int first = 0; first < 256 * 256; first += static_cast<int>(kSamplePairs)) {
            for (std::size_t p = 0; p < kSamplePairs; ++p) {
                const int pair = (first + static_cast<int>(p)) % (256 * 256);
                block[2 * p] = static_cast<uint8_t>(pair / 256);
                block[2 * p + 1] = static_cast<uint8_t>(pair % 256);
            }
            DecodedTrace trace;
            trace.AscanRaw.fill(-3);
            std::array<int16_t, kAscanPointCount> raw;
            raw.fill(-3);
            EXPECT_EQ(composeRawSamples(rect, block.data(), raw), composeSamples(rect, block.data(), trace));
            ASSERT_EQ(raw, trace.AscanRaw) << "rectification " << rect << " from pair " << first;
        }
    }
}

// A gate re-measure decodes only its gates' pairs: inside the range they are the whole block's,
// outside it nothing is written (both halves of an RF pair included).
TEST(SampleCompositionTest, APairRangeDecodesThosePairsAlone) {
    std::vector<uint8_t> block(kSampleBlockBytes);
    for (std::size_t i = 0; i < block.size(); ++i)
        block[i] = static_cast<uint8_t>(i * 37 + i / 7);
    struct Range {
        std::size_t first, last;
    };
    for (const int32_t rect : {0, 1, 2, 3, 4}) {
        std::array<int16_t, kAscanPointCount> whole;
        whole.fill(-3);
        composeRawSamples(rect, block.data(), whole);
        for (const Range r : {Range{0, 0}, Range{0, 799}, Range{5, 17}, Range{1, 25}, Range{3, 40},
                              Range{777, 799}, Range{799, 799}, Range{790, 5000}, Range{9, 8}}) {
            SCOPED_TRACE("rectification " + std::to_string(rect) + " pairs " + std::to_string(r.first) +
                         ".." + std::to_string(r.last));
            std::array<int16_t, kAscanPointCount> part;
            part.fill(-3);
            EXPECT_EQ(composeRawSamples(rect, block.data(), part, r.first, r.last), rect >= 0 && rect <= 3);
            for (std::size_t i = 0; i < kAscanPointCount; ++i) {
                const std::size_t pair = i % kSamplePairs;
                const bool inside = i < 2 * kSamplePairs && pair >= r.first && pair <= r.last;
                ASSERT_EQ(part[i], inside ? whole[i] : -3) << "entry " << i;
            }
        }
    }
}

// A table of every frame stores the displayed percents alone, as bytes: for every byte pair and
// rectification they are the trace's AscanPoints over the samples shown; an unknown one stores nothing.
TEST(SampleCompositionTest, ScreenPercentBytesAreTheTracesPoints) {
    std::vector<uint8_t> block(kSampleBlockBytes);
    for (const int32_t rect : {0, 1, 2, 3, 4}) {
        const std::size_t shown = rect == 0 ? 2 * kSamplePairs : kSamplePairs;
        for (int first = 0; first < 256 * 256; first += static_cast<int>(kSamplePairs)) {
            for (std::size_t p = 0; p < kSamplePairs; ++p) {
                const int pair = (first + static_cast<int>(p) * 7) % (256 * 256);
                block[2 * p] = static_cast<uint8_t>(pair / 256);
                block[2 * p + 1] = static_cast<uint8_t>(pair % 256);
            }
            DecodedTrace trace;
            std::vector<uint8_t> bytes(2 * kSamplePairs, 0xEE);
            ASSERT_EQ(composeScreenPercent(rect, block.data(), bytes.data()),
                      composeSamples(rect, block.data(), trace));
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                const int expected = rect == 4 || i >= shown ? 0xEE : trace.AscanPoints[i];
                ASSERT_EQ(bytes[i], expected)
                    << "rectification " << rect << " from pair " << first << " sample " << i;
            }
        }
    }
}

TEST(DerivedSetupTest, DisplayDelayMovesHalfAStepTowardsZero) {
    struct Case {
        uint8_t units;
        int32_t velocity, delay_ns, range_um;
        float velocityOut, delayOut, rangeOut;
    };
    const Case cases[] = {
        {0, 61720, 4000, 50000, 6172.0f, 12.339f, 50.0f},   // 12.344 mm shown as 12.339
        {1, 50800, -2000, 25400, 0.2f, -0.1995f, 1.0f},     // -0.2 in shown as -0.1995
        {0, 59200, 0, 60000, 5920.0f, 0.0f, 60.0f},         // zero stays zero
        {2, 59200, -4000, 60000, 5920.0f, -11.835f, 60.0f}, // microsecond recordings display in mm
    };
    for (const Case& c : cases) {
        RecordingHeader h;
        h.Units = c.units;
        h.Velocity = c.velocity;
        h.DisplayDelay_ns = c.delay_ns;
        h.DisplayRange_um = c.range_um;
        const DerivedSetup d = deriveSetup(h);
        EXPECT_FLOAT_EQ(d.velocity, c.velocityOut);
        EXPECT_FLOAT_EQ(d.displayDelay, c.delayOut);
        EXPECT_FLOAT_EQ(d.displayRange, c.rangeOut);
    }
}

TEST(FrameTimingTest, TimeIndexRoundsHalvesToEven) {
    const struct {
        int64_t frame;
        int32_t rate;
        int64_t seconds;
    } cases[] = {{1, 50, 0},   {26, 50, 0}, {27, 50, 1}, {76, 50, 2},
                 {126, 50, 2}, {6, 10, 0},  {16, 10, 2}, {601, 50, 12}};
    for (const auto& c : cases)
        EXPECT_EQ(timeIndexOf(c.frame, c.rate), c.seconds) << c.frame << "@" << c.rate;
    EXPECT_EQ(divideRoundHalfEven(-3, 2), -2);
    EXPECT_EQ(divideRoundHalfEven(-1, 2), 0);
    EXPECT_EQ(divideRoundHalfEven(-5, 2048), 0);
}

TEST(ShortReadTest, PartialLastRecordSkipsTheSampleRead) {
    pelix::synth::SynthOptions options;
    options.frames = 3;
    options.extraBytes = 300; // a header that the file cuts short: 3 frames + 300 bytes rounds to 3
    TempFile file;
    file.write(pelix::testing::synthesize(options));
    OpenOutcome out = OpenRecording::open(file.path());
    ASSERT_TRUE(out.recording);
    OpenRecording& rec = *out.recording;
    ASSERT_EQ(rec.FrameCount(), 3);

    DecodedTrace trace;
    FrameHeaderBytes header{};
    rec.seek(rec.recordOffset(3));
    rec.readFrameHeader(header);
    ASSERT_EQ(rec.readSampleBlock(trace), SampleRead::Decoded);
    const DecodedTrace third = trace;

    header.fill(0xEE);
    rec.seek(rec.recordOffset(4));
    EXPECT_EQ(rec.readFrameHeader(header), 300u);
    EXPECT_TRUE(rec.lastReadShort());
    EXPECT_EQ(header[300], 0xEE) << "bytes past the end keep what they held";
    EXPECT_EQ(rec.readSampleBlock(trace), SampleRead::SkippedAfterShortHeader);
    EXPECT_EQ(trace.AscanPoints, third.AscanPoints) << "the previous trace stays";
}

TEST(ShortReadTest, FileShrinkingWhileOpenGivesShortReads) {
    pelix::synth::SynthOptions options;
    options.frames = 50;
    TempFile file;
    file.write(pelix::testing::synthesize(options));
    OpenOutcome out = OpenRecording::open(file.path());
    ASSERT_TRUE(out.recording);
    std::filesystem::resize_file(file.path(), 1024 + 10 * 2048 + 1000);

    OpenRecording& rec = *out.recording;
    DecodedTrace trace;
    FrameHeaderBytes header{};
    rec.seek(rec.recordOffset(11));
    EXPECT_EQ(rec.readFrameHeader(header), 448u);
    EXPECT_EQ(rec.readSampleBlock(trace), SampleRead::Short);
    EXPECT_TRUE(rec.lastReadShort());
    rec.seek(rec.recordOffset(40));
    EXPECT_EQ(rec.readFrameHeader(header), 0u);
    EXPECT_EQ(rec.readSampleBlock(trace), SampleRead::SkippedAfterShortHeader);
}

} // namespace
