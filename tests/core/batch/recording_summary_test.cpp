// One recording's row: the gate figures against amplitudes written frame by
// frame, and the status and reason of every kind of file a batch meets.
#include "core/batch/recording_summary.h"
#include "core/recording/open_recording.h"
#include "core/recording/record_layout.h"
#include "support/recording_files.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using namespace pelix::batch;
using namespace pelix::recording;
using pelix::testing::putBigEndian;
using pelix::testing::putLittleEndian;
using pelix::testing::TempFile;

constexpr int kOff = -1;

// A synthesised recording whose gate A amplitudes are `a` frame by frame (kOff: gate off), gate B
// off throughout, gate A's threshold `thresholds[f]` (the last one repeats).
std::string craftedBytes(const std::vector<int>& a, const std::vector<int>& thresholds) {
    pelix::synth::SynthOptions options;
    options.frames = static_cast<int32_t>(a.size());
    options.flaggedFrames = 0;
    std::string bytes = pelix::testing::synthesize(options);
    for (std::size_t i = 0; i < a.size(); ++i) {
        const std::size_t at = kRecordingHeaderBytes + i * kFrameRecordBytes;
        const auto put = [&](std::size_t offset, int32_t v) { putLittleEndian(bytes, at + offset, v); };
        put(fh::GateAOn, a[i] == kOff ? 0 : 1);
        put(fh::GateAAmplitude, a[i] == kOff ? 0 : a[i]);
        put(fh::GateAThreshold, thresholds[std::min(i, thresholds.size() - 1)]);
        put(fh::GateBOn, 0);
    }
    return bytes;
}

struct GateCase {
    const char* name;
    std::vector<int> amplitudes;
    std::vector<int> thresholds; // gate A's per frame; only frame 1's sets the default level
    std::optional<int32_t> level;
    std::optional<int32_t> largest;
    int32_t largestFrame;
    int32_t expectedLevel;
    int64_t framesAtLevel;
    int64_t indications;
};

class GateFigures : public ::testing::TestWithParam<GateCase> {};

TEST_P(GateFigures, FollowTheRecordedAmplitudes) {
    const GateCase& c = GetParam();
    TempFile file;
    file.write(craftedBytes(c.amplitudes, c.thresholds));
    const RecordingSummary row = summariseRecording(file.path(), SummaryRules{c.level});
    ASSERT_EQ(row.status, SummaryStatus::Read) << row.reason;
    const GateSummary& a = row.gates[0];
    EXPECT_EQ(a.largest, c.largest);
    EXPECT_EQ(a.largestFrame, c.largestFrame);
    EXPECT_EQ(a.level, c.expectedLevel);
    EXPECT_EQ(a.levelFromGate, !c.level.has_value());
    EXPECT_EQ(a.framesAtLevel, c.framesAtLevel);
    EXPECT_EQ(a.indications, c.indications);
    EXPECT_FALSE(row.gates[1].largest) << "gate B is off in every frame";
    EXPECT_EQ(row.gates[1].framesAtLevel, 0);
    EXPECT_EQ(row.gates[1].indications, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Summary, GateFigures,
    ::testing::Values(
        // The first frame of the largest echo is the one named; the level is frame 1's threshold.
        GateCase{"FirstOfEqualPeaks", {10, 80, 30, 80, 20}, {50}, {}, 80, 2, 50, 2, 2},
        // A later frame's threshold does not move the level.
        GateCase{"LevelFromFrameOneOnly", {60, 60, 10, 60}, {40, 90, 90, 90}, {}, 60, 1, 40, 3, 2},
        // An RF gate set on the negative half-wave counts at the same height.
        GateCase{"NegativeThresholdIsAHeight", {20, 35, 35, 10}, {-30}, {}, 35, 2, 30, 2, 1},
        // A level given applies instead of the threshold; "at or above" includes the level itself.
        GateCase{"GivenLevelInclusive", {10, 25, 24, 25, 0}, {90}, 25, 25, 2, 25, 2, 2},
        // A frame with the gate off ends an indication: the run either side counts twice.
        GateCase{"GateOffSplitsARun", {70, 70, kOff, 70, 70}, {50}, {}, 70, 1, 50, 4, 2},
        GateCase{"GateOffThroughout", {kOff, kOff, kOff}, {50}, {}, std::nullopt, 0, 50, 0, 0},
        // Only a damaged file records an amplitude beyond the screen; it is still the largest.
        GateCase{"AmplitudeBeyondTheScreen", {40, 300, 40}, {50}, {}, 300, 2, 50, 1, 1}),
    [](const ::testing::TestParamInfo<GateCase>& info) { return std::string(info.param.name); });

TEST(RecordingSummaryRow, SetupLengthAndFlagsComeFromTheRecording) {
    pelix::synth::SynthOptions options;
    options.frames = 250;
    options.framesPerSecond = 10;
    options.flaggedFrames = 3;
    options.flagCount = 5; // the header claims more flags than frames carry
    options.envelope = true;
    options.version = 7;
    TempFile file;
    file.write(pelix::testing::synthesize(options));
    const RecordingSummary row = summariseRecording(file.path(), {});
    ASSERT_EQ(row.status, SummaryStatus::Read) << row.reason;
    EXPECT_EQ(row.frames, 250);
    EXPECT_EQ(row.framesPerSecond, 10);
    EXPECT_EQ(row.durationHundredths, 2500);
    EXPECT_TRUE(row.envelope);
    EXPECT_EQ(row.version, 7);
    EXPECT_EQ(row.flaggedFrames, 3);
    EXPECT_EQ(row.flagCount, 5);
    EXPECT_EQ(row.sizeBytes, static_cast<int64_t>(file.read().size()));
    EXPECT_EQ(row.trailingBytes, 0);
    EXPECT_FALSE(row.evaluationMode.empty());
}

struct FileCase {
    const char* name;
    SummaryStatus status;
    std::string reason; // empty: the row's reason must be empty; "*": any message naming the file
};

TEST(RecordingSummaryRow, EveryKindOfFileGetsItsStatusAndTheReadersReason) {
    pelix::testing::TempFolder folder;
    const auto put = [&](const std::string& name, const std::string& bytes) {
        const std::string path = folder.file(name);
        std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return path;
    };
    pelix::synth::SynthOptions cut;
    cut.frames = 20;
    cut.extraBytes = 1000;
    std::string wrongMagic = pelix::testing::rawRecording(kFrameRecordBytes);
    wrongMagic[0] = 'X';
    std::filesystem::create_directory(folder.file("sub"));

    const std::vector<std::pair<std::string, FileCase>> cases = {
        {put("good.BIN", pelix::testing::synthesize({})), {"good", SummaryStatus::Read, ""}},
        {put("cut.BIN", pelix::testing::synthesize(cut)), {"cut", SummaryStatus::CutShort, ""}},
        {put("magic.BIN", wrongMagic), {"magic", SummaryStatus::Rejected, kMsgNotCorrect}},
        {put("short.BIN", "abc"), {"short", SummaryStatus::Rejected, kMsgNotCorrect}},
        {put("old.BIN", pelix::testing::rawRecording(kFrameRecordBytes, kOldestVersion - 1)),
         {"old", SummaryStatus::Rejected, kMsgNotCompatible}},
        {put("empty.BIN", pelix::testing::rawRecording(0)),
         {"noframes", SummaryStatus::Rejected, kMsgNoFrames}},
        {folder.file("missing.BIN"), {"missing", SummaryStatus::Unreadable, "*"}},
        {folder.file("sub"), {"folder", SummaryStatus::Unreadable, "*"}},
    };
    for (const auto& [path, c] : cases) {
        SCOPED_TRACE(c.name);
        const RecordingSummary row = summariseRecording(path, {});
        EXPECT_EQ(row.path, path);
        EXPECT_EQ(row.status, c.status) << statusWord(row.status) << ": " << row.reason;
        EXPECT_EQ(row.wasRead(), c.reason.empty());
        if (c.reason == "*") {
            EXPECT_NE(row.reason.find(path), std::string::npos) << row.reason;
        } else {
            EXPECT_EQ(row.reason, c.reason);
        }
        if (row.status == SummaryStatus::CutShort) {
            EXPECT_EQ(row.frames, 20);
            EXPECT_EQ(row.trailingBytes, 1000);
        }
        // The size of a file the reader refused is still given; a missing one has none.
        if (c.status == SummaryStatus::Rejected) {
            EXPECT_EQ(row.sizeBytes, static_cast<int64_t>(std::filesystem::file_size(path)));
        }
        if (c.status == SummaryStatus::Unreadable) {
            EXPECT_EQ(row.sizeBytes, -1);
        }
    }
}

} // namespace
