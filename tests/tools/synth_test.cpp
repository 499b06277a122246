// The generator must give the same recording for the same seed, and its
// recordings must be what they claim to be.
#include "core/recording/open_recording.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

using namespace pelix::recording;

namespace {

TEST(SynthTest, SameSeedSameBytesOtherSeedOtherBytes) {
    pelix::synth::SynthOptions options;
    options.frames = 30;
    const std::string a = pelix::testing::synthesize(options);
    EXPECT_EQ(a, pelix::testing::synthesize(options));
    options.seed = 2;
    EXPECT_NE(a, pelix::testing::synthesize(options));
}

TEST(SynthTest, RecordingsOpenWithTheRequestedShape) {
    struct Case {
        int32_t version, rate, frames, flagged, flagCount;
        bool envelope;
    };
    for (const Case& c :
         {Case{6, 50, 40, 3, -1, false}, Case{7, 10, 25, 2, 5, false}, Case{8, 10, 30, 4, 1, true}}) {
        pelix::synth::SynthOptions o;
        o.version = c.version;
        o.framesPerSecond = c.rate;
        o.frames = c.frames;
        o.flaggedFrames = c.flagged;
        o.flagCount = c.flagCount;
        o.envelope = c.envelope;
        pelix::testing::TempFile file;
        file.write(pelix::testing::synthesize(o));
        const OpenOutcome out = OpenRecording::open(file.path());
        ASSERT_TRUE(out.recording) << out.message;
        EXPECT_EQ(out.recording->FrameCount(), c.frames);
        EXPECT_EQ(out.recording->framesPerSecond(), c.rate);
        EXPECT_EQ(out.recording->FlagCount(), c.flagCount < 0 ? c.flagged : c.flagCount);
        const int32_t expectedFound = c.flagCount < 0 ? c.flagged : std::min(c.flagged, c.flagCount);
        EXPECT_EQ(out.recording->flags().found(), expectedFound);
    }
}

// The recorded gate A amplitude is the height of the echo the trace shows inside gate A.
TEST(SynthTest, RecordedGateReadingsMatchTheTrace) {
    pelix::synth::SynthOptions o;
    o.frames = 400;
    o.rectification = 3;
    pelix::testing::TempFile file;
    file.write(pelix::testing::synthesize(o));
    OpenOutcome out = OpenRecording::open(file.path());
    ASSERT_TRUE(out.recording);
    OpenRecording& rec = *out.recording;
    int triggered = 0, quiet = 0;
    DecodedTrace trace;
    FrameHeaderBytes bytes{};
    for (int32_t n = 1; n <= rec.FrameCount(); n += 7) {
        rec.seek(rec.recordOffset(n));
        rec.readFrameHeader(bytes);
        ASSERT_EQ(rec.readSampleBlock(trace), SampleRead::Decoded);
        const FrameHeader f = decodeFrameHeader(bytes);
        if (f.GateAValid != 1) {
            ++quiet;
            EXPECT_EQ(f.ReadingNoValue[1] == 1 || f.ReadingLive[1] == 0, true);
            continue;
        }
        ++triggered;
        EXPECT_GE(f.GateAAmplitude, 30);
        EXPECT_LE(f.GateAAmplitude, 104);
        const double range = rec.derived().displayRange * 1.1, start = rec.derived().displayDelay;
        const auto first = static_cast<std::size_t>((f.GateAStart_um / 1000.0 - start) / range * 800);
        const auto last = static_cast<std::size_t>(
            (f.GateAStart_um / 1000.0 + f.GateAWidth_um / 1000.0 - start) / range * 800);
        int16_t peak = 0;
        for (std::size_t p = first; p <= last && p < 800; ++p)
            peak = std::max(peak, trace.AscanPoints[p]);
        EXPECT_NEAR(peak, std::min(f.GateAAmplitude, 100), 12) << "frame " << n;
    }
    EXPECT_GT(triggered, 5);
    EXPECT_GT(quiet, 5) << "the flaw echo must also leave the gate";
}

} // namespace

namespace {

// The demo is what a new user sees first: a finished DAC family on screen and
// the flaw's echo in gate A on its first frames. The plain scan is the same
// recording without either, for the tests that measure its frames.
TEST(SynthTest, DemoOpensOnADacFamilyWithAnEchoInGateA) {
    struct Case {
        const char* sample;
        bool dacComplete;
        bool echoOnFirstFrames;
    };
    for (const Case& c : {Case{"DEMO.BIN", true, true}, Case{"PLAIN_SCAN.BIN", false, false}}) {
        SCOPED_TRACE(c.sample);
        OpenOutcome out = OpenRecording::open(std::string(PELIX_SAMPLES_DIR) + "/" + c.sample);
        ASSERT_TRUE(out.recording) << out.message;
        OpenRecording& rec = *out.recording;
        const RecordingHeader& h = rec.header();
        EXPECT_EQ(h.EvalMode == 0 && h.TCGMode == 2 && h.TCGCurveStatus == 2, c.dacComplete);
        EXPECT_EQ(rec.FrameCount(), 3000);
        FrameHeaderBytes bytes{};
        for (int32_t n = 1; n <= 10; ++n) {
            rec.seek(rec.recordOffset(n));
            rec.readFrameHeader(bytes);
            const FrameHeader f = decodeFrameHeader(bytes);
            EXPECT_EQ(f.GateAValid == 1, c.echoOnFirstFrames) << "frame " << n;
        }
    }
}

} // namespace
