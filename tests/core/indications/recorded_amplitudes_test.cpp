// The recorded echo dynamic read from a recording's frame headers, and the level a
// search starts from.
#include "core/indications/indication_finder.h"
#include "core/indications/recorded_amplitudes.h"
#include "core/recording/open_recording.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <filesystem>

namespace pelix::indications {
namespace {

using namespace pelix::recording;
using pelix::testing::TempFile;

struct Shape {
    const char* name;
    bool envelope;
    int32_t version;
};

class RecordedAmplitudesTest : public ::testing::TestWithParam<Shape> {
  protected:
    static constexpr int32_t kFrames = 300; // more than one block of headers for either stride

    // Frame n's header in the file, found without the reader.
    static std::size_t headerAt(const Shape& s, int32_t frame) {
        const std::size_t setup = s.version == 7 ? 1028 : 1024;
        return setup + static_cast<std::size_t>(frame - 1) * kFrameRecordBytes * (s.envelope ? 2 : 1);
    }

    // Gate A's amplitude is the frame number modulo 101, gate B's 100 minus that;
    // gate A is off in every 9th frame, gate B in every 4th.
    void SetUp() override {
        const Shape s = GetParam();
        synth::SynthOptions options;
        options.envelope = s.envelope;
        options.version = s.version;
        options.frames = kFrames;
        std::string bytes = pelix::testing::synthesize(options);
        for (int32_t f = 1; f <= kFrames; ++f) {
            const std::size_t at = headerAt(s, f);
            pelix::testing::putLittleEndian(bytes, at + fh::GateAOn.offset, f % 9 == 0 ? 0 : 1);
            pelix::testing::putLittleEndian(bytes, at + fh::GateBOn.offset, f % 4 == 0 ? 0 : 1);
            pelix::testing::putLittleEndian(bytes, at + fh::GateAAmplitude.offset, f % 101);
            pelix::testing::putLittleEndian(bytes, at + fh::GateBAmplitude.offset, 100 - f % 101);
            pelix::testing::putLittleEndian(bytes, at + fh::GateATOF_2_5ns.offset, f);
            if (s.envelope) { // the second record of a pair is not the frame's header
                const std::size_t second = at + kFrameRecordBytes;
                pelix::testing::putLittleEndian(bytes, second + fh::GateAOn.offset, 1);
                pelix::testing::putLittleEndian(bytes, second + fh::GateAAmplitude.offset, 250);
            }
        }
        m_file.write(bytes);
        OpenOutcome opened = OpenRecording::open(m_file.path(), OpenRecording::FlagScan::Skip);
        ASSERT_TRUE(opened.recording) << opened.message;
        m_recording = std::move(opened.recording);
    }

    static std::optional<int32_t> expected(Gate gate, int32_t f) {
        if (gate == Gate::A) return f % 9 == 0 ? std::nullopt : std::optional<int32_t>(f % 101);
        return f % 4 == 0 ? std::nullopt : std::optional<int32_t>(100 - f % 101);
    }

    TempFile m_file;
    std::unique_ptr<OpenRecording> m_recording;
};

TEST_P(RecordedAmplitudesTest, EachFrameOfTheRangeAsRecordedGateOffAsNone) {
    for (Gate gate : {Gate::A, Gate::B}) {
        const RecordedAmplitudes recorded =
            scanRecordedAmplitudes(m_recording->file(), frameRecordLayout(*m_recording), gate, 7, 260);
        EXPECT_EQ(recorded.scan.end, HeaderScanEnd::Complete);
        ASSERT_EQ(recorded.series.firstFrame(), 7);
        ASSERT_EQ(recorded.series.lastFrame(), 260);
        for (int32_t f = 7; f <= 260; ++f)
            ASSERT_EQ(recorded.series.amplitude(f), expected(gate, f)) << f;
        EXPECT_FALSE(recorded.series.dbToReference(7));
    }
}

TEST_P(RecordedAmplitudesTest, RangeIsCutToTheRecording) {
    const FrameRecordLayout layout = frameRecordLayout(*m_recording);
    const RecordedAmplitudes all =
        scanRecordedAmplitudes(m_recording->file(), layout, Gate::A, -5, INT32_MAX);
    EXPECT_EQ(all.series.firstFrame(), 1);
    EXPECT_EQ(all.series.lastFrame(), kFrames);
    const RecordedAmplitudes none = scanRecordedAmplitudes(m_recording->file(), layout, Gate::A, 200, 100);
    EXPECT_EQ(none.series.size(), 0);
}

TEST_P(RecordedAmplitudesTest, ReadingsComeFromTheFramesOwnHeader) {
    const RecordedAmplitudes recorded = scanRecordedAmplitudes(
        m_recording->file(), frameRecordLayout(*m_recording), Gate::A, 1, kFrames,
        [](const uint8_t* h) { return std::optional<double>(layout::read(h, fh::GateATOF_2_5ns) / 10.0); });
    for (int32_t f : {1, 2, 150, kFrames}) {
        ASSERT_TRUE(recorded.series.dbToReference(f)) << f;
        EXPECT_DOUBLE_EQ(*recorded.series.dbToReference(f), f / 10.0);
    }
}

TEST_P(RecordedAmplitudesTest, FileThatShrinksEndsTheSeriesBeforeTheCutHeader) {
    const Shape s = GetParam();
    // The file loses the end of frame 200's header after it was opened.
    std::filesystem::resize_file(m_file.path(), headerAt(s, 200) + 100);
    const RecordedAmplitudes recorded =
        scanRecordedAmplitudes(m_recording->file(), frameRecordLayout(*m_recording), Gate::A, 1, kFrames);
    EXPECT_EQ(recorded.scan.end, HeaderScanEnd::CutShort);
    EXPECT_EQ(recorded.scan.stoppedAt, 200);
    EXPECT_EQ(recorded.series.lastFrame(), 199);
    EXPECT_EQ(recorded.series.amplitude(199), expected(Gate::A, 199));
    // What was measured still yields its indications: frames 1..8 rise from 1 to 8.
    IndicationRules rules;
    rules.count = CountRule::atLeastPercent(5);
    EXPECT_EQ(findIndications(recorded.series, rules).front(), (Indication{5, 8, 8, 8, 5, 8}));
}

TEST_P(RecordedAmplitudesTest, CancelStopsTheScan) {
    std::atomic<bool> cancel{true};
    const RecordedAmplitudes recorded = scanRecordedAmplitudes(
        m_recording->file(), frameRecordLayout(*m_recording), Gate::A, 1, kFrames, {}, &cancel);
    EXPECT_EQ(recorded.scan.end, HeaderScanEnd::Stopped);
    EXPECT_LT(recorded.series.lastFrame(), kFrames);
}

INSTANTIATE_TEST_SUITE_P(Layouts, RecordedAmplitudesTest,
                         ::testing::Values(Shape{"Single", false, 8}, Shape{"Envelope", true, 8},
                                           Shape{"Version7", false, 7}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultLevel, TheGatesThresholdAsAHeight) {
    struct Case {
        int32_t threshold;
        int32_t level;
    };
    for (const Case c : {Case{40, 40}, Case{-20, 20}, Case{0, 0}, Case{INT32_MIN, INT32_MAX}}) {
        FrameHeader a;
        a.GateAThreshold = c.threshold;
        a.GateBThreshold = 77;
        EXPECT_EQ(defaultLevel(a, Gate::A), c.level) << c.threshold;
        FrameHeader b;
        b.GateBThreshold = c.threshold;
        b.GateAThreshold = 77;
        EXPECT_EQ(defaultLevel(b, Gate::B), c.level) << c.threshold;
    }
}

} // namespace
} // namespace pelix::indications
