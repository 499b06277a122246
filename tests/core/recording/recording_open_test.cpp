// Validation, frame counting and the flag scan of an opened recording.
#include "core/recording/flag_scan.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

using namespace pelix::recording;
using pelix::testing::TempFile;

namespace {

OpenOutcome openBytes(const TempFile& file, const std::string& bytes,
                      OpenRecording::FlagScan flagScan = OpenRecording::FlagScan::Build) {
    file.write(bytes);
    return OpenRecording::open(file.path(), flagScan);
}

struct CountCase {
    const char* name;
    int32_t version;
    bool envelope;
    std::size_t bytesAfterHeader;
    int32_t expectedFrames;
};

class FrameCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(FrameCountTest, RoundsHalvesToEven) {
    const CountCase& c = GetParam();
    const std::size_t padding = c.version == 7 ? 4 : 0;
    std::string bytes = pelix::testing::rawRecording(padding + c.bytesAfterHeader, c.version);
    pelix::testing::putBigEndian(bytes, rh::Envelope, c.envelope ? 1 : 0);
    TempFile file;
    const OpenOutcome out = openBytes(file, bytes);
    ASSERT_TRUE(out.recording) << out.message;
    EXPECT_EQ(out.recording->FrameCount(), c.expectedFrames);
    EXPECT_EQ(out.recording->HeaderSize(), c.version == 7 ? 1028 : 1024);
}

INSTANTIATE_TEST_SUITE_P(Boundaries, FrameCountTest,
                         ::testing::Values(CountCase{"TenAndAHalfIsTen", 8, false, 10 * 2048 + 1024, 10},
                                           CountCase{"JustAboveHalfIsEleven", 8, false, 10 * 2048 + 1025, 11},
                                           CountCase{"ElevenAndAHalfIsTwelve", 8, false, 11 * 2048 + 1024,
                                                     12},
                                           CountCase{"VersionSevenSkipsFourBytes", 7, false, 5 * 2048, 5},
                                           CountCase{"VersionSix", 6, false, 3 * 2048, 3},
                                           CountCase{"Envelope21RecordsIsTen", 8, true, 21 * 2048, 10},
                                           CountCase{"Envelope23RecordsIsTwelve", 8, true, 23 * 2048, 12}),
                         [](const auto& info) { return std::string(info.param.name); });

// Half a record rounds to the even 0 frames and is rejected; keep that case out of the table above.
TEST(OpenRecordingTest, RejectsWhatIsNotARecording) {
    struct Case {
        const char* what;
        std::string bytes;
        OpenStatus status;
        const char* message;
    };
    std::string wrongMagic = pelix::testing::rawRecording(2048);
    wrongMagic[1] = 0x55;
    std::string version5 = pelix::testing::rawRecording(2048, 5);
    const std::vector<Case> cases = {
        {"empty file", "", OpenStatus::NotCorrect, kMsgNotCorrect},
        {"truncated header", pelix::testing::rawRecording(0).substr(0, 1023), OpenStatus::NotCorrect,
         kMsgNotCorrect},
        {"wrong magic", wrongMagic, OpenStatus::NotCorrect, kMsgNotCorrect},
        {"old version", version5, OpenStatus::NotCompatible, kMsgNotCompatible},
        {"header only", pelix::testing::rawRecording(0), OpenStatus::NoFrames, kMsgNoFrames},
        {"half a record", pelix::testing::rawRecording(1024), OpenStatus::NoFrames, kMsgNoFrames},
        {"version 7 without its padding", pelix::testing::rawRecording(2, 7), OpenStatus::NoFrames,
         kMsgNoFrames},
    };
    for (const Case& c : cases) {
        TempFile file;
        const OpenOutcome out = openBytes(file, c.bytes);
        EXPECT_EQ(out.status, c.status) << c.what;
        EXPECT_EQ(out.message, c.message) << c.what;
        EXPECT_FALSE(out.recording) << c.what;
    }
}

TEST(OpenRecordingTest, RejectsFoldersAndMissingFilesWithAMessage) {
    for (const std::string& path : {std::string("/tmp"), std::string("/nonexistent/pelix/SCAN01.BIN")}) {
        const OpenOutcome out = OpenRecording::open(path);
        EXPECT_EQ(out.status, OpenStatus::CannotOpen) << path;
        EXPECT_FALSE(out.message.empty());
        EXPECT_FALSE(out.recording);
    }
}

TEST(OpenRecordingTest, RateAndLengthInSeconds) {
    for (const auto& [rate, seconds] : {std::pair{10, 123}, std::pair{50, 24}}) {
        std::string bytes = pelix::testing::rawRecording(1234 * 2048);
        pelix::testing::putBigEndian(bytes, rh::RateSelect, rate == 10 ? 7 : 0);
        TempFile file;
        const OpenOutcome out = openBytes(file, bytes);
        ASSERT_TRUE(out.recording);
        EXPECT_EQ(out.recording->framesPerSecond(), rate);
        EXPECT_EQ(out.recording->TotalSeconds(), seconds);
    }
}

// Flags of frames 7 and 40 in a recording of 60 frames, with the recorded count varying.
std::string flaggedRecording(int32_t flagCount, bool envelope = false) {
    const int records = envelope ? 120 : 60;
    std::string bytes = pelix::testing::rawRecording(static_cast<std::size_t>(records) * 2048);
    pelix::testing::putBigEndian(bytes, rh::FlagCount, flagCount);
    pelix::testing::putBigEndian(bytes, rh::Envelope, envelope ? 1 : 0);
    for (const int frame : {7, 40}) {
        const std::size_t record = envelope ? 2 * (frame - 1) : frame - 1;
        pelix::testing::putLittleEndian(bytes, 1024 + record * 2048, 1);
        // The second record of an envelope pair carries no flag of its own.
        if (envelope) pelix::testing::putLittleEndian(bytes, 1024 + (record + 3) * 2048, 1);
    }
    return bytes;
}

TEST(FlagScanTest, StopsAtTheRecordedCount) {
    struct Case {
        int32_t flagCount;
        std::vector<int32_t> index; // FlagIndex[0 .. n]
    };
    for (const Case& c : std::vector<Case>{{3, {0, 7, 40, 0}}, {1, {0, 7}}, {0, {0}}, {-5, {0}}}) {
        TempFile file;
        const OpenOutcome out = openBytes(file, flaggedRecording(c.flagCount));
        ASSERT_TRUE(out.recording);
        const FlagIndex& flags = out.recording->flags();
        for (std::size_t k = 0; k < c.index.size(); ++k)
            EXPECT_EQ(flags.at(static_cast<int64_t>(k)), c.index[k]) << c.flagCount;
        EXPECT_EQ(flags.at(static_cast<int64_t>(c.index.size())), 0);
        EXPECT_EQ(out.recording->FlagCount(), c.flagCount) << "the caption shows the recorded count";
    }
}

TEST(FlagScanTest, HugeCountCostsNothingAndEnvelopeUsesFirstRecords) {
    TempFile file;
    const OpenOutcome huge = openBytes(file, flaggedRecording(INT_MAX));
    ASSERT_TRUE(huge.recording);
    EXPECT_EQ(huge.recording->flags().found(), 2);
    EXPECT_EQ(huge.recording->flags().at(INT_MAX), 0);

    TempFile envelopeFile;
    const OpenOutcome env = openBytes(envelopeFile, flaggedRecording(5, true));
    ASSERT_TRUE(env.recording);
    EXPECT_EQ(env.recording->flags().at(1), 7);
    EXPECT_EQ(env.recording->flags().at(2), 40);
    EXPECT_EQ(env.recording->flags().at(3), 0);
}

// A long recording that is mostly holes (a sparse file): the flags after and
// between the holes are found, whether a hole starts inside a frame or not.
TEST(FlagScanTest, FindsTheFlagsOfASparseRecording) {
    constexpr int64_t kFrames = 200000; // some 400 MiB, almost all of it holes
    std::string header = pelix::testing::rawRecording(0);
    pelix::testing::putBigEndian(header, rh::FlagCount, 4);
    TempFile file;
    file.write(header);
    const int fd = ::open(file.path().c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    const auto flag = [fd](int64_t frame) {
        const char one[4] = {1, 0, 0, 0};
        return ::pwrite(fd, one, 4, static_cast<off_t>(1024 + (frame - 1) * 2048)) == 4;
    };
    for (const int64_t frame : {int64_t{7}, int64_t{90001}, int64_t{90002}, int64_t{150000}})
        ASSERT_TRUE(flag(frame));
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(1024 + kFrames * 2048)), 0);
    ::close(fd);
    const OpenOutcome out = OpenRecording::open(file.path());
    ASSERT_TRUE(out.recording);
    EXPECT_EQ(out.recording->FrameCount(), kFrames);
    const std::vector<int32_t> expected = {0, 7, 90001, 90002, 150000, 0};
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(out.recording->flags().at(static_cast<int64_t>(k)), expected[k]) << k;
}

// The window opens without the index and builds it in the background, on a
// second handle: the same index as a scan at open, or none once stopped.
TEST(FlagScanTest, SkippedAtOpenIsBuiltLaterOnASecondHandle) {
    for (const bool envelope : {false, true}) {
        TempFile file;
        const OpenOutcome out = openBytes(file, flaggedRecording(3, envelope), OpenRecording::FlagScan::Skip);
        ASSERT_TRUE(out.recording);
        OpenRecording& rec = *out.recording;
        EXPECT_FALSE(rec.flagsKnown());
        EXPECT_EQ(rec.flags().found(), 0);

        const RecordingFile second = rec.file().duplicate();
        std::atomic<bool> stop{true};
        EXPECT_EQ(scanFlagIndex(second, frameRecordLayout(rec), rec.FlagCount(), &stop).found(), 0);
        rec.setFlags(scanFlagIndex(second, frameRecordLayout(rec), rec.FlagCount()));
        EXPECT_TRUE(rec.flagsKnown());
        EXPECT_EQ(rec.flags().at(1), 7) << envelope;
        EXPECT_EQ(rec.flags().at(2), 40) << envelope;
        EXPECT_EQ(rec.flags().at(3), 0) << envelope;
    }
}

TEST(RecordOffsetTest, NormalAndEnvelopePairs) {
    TempFile file;
    const OpenOutcome v7 = openBytes(file, pelix::testing::rawRecording(4 + 10 * 2048, 7));
    ASSERT_TRUE(v7.recording);
    EXPECT_EQ(v7.recording->recordOffset(1), 1028);
    EXPECT_EQ(v7.recording->recordOffset(3), 1028 + 2 * 2048);

    TempFile envFile;
    const OpenOutcome env = openBytes(envFile, flaggedRecording(0, true));
    ASSERT_TRUE(env.recording);
    EXPECT_EQ(env.recording->recordOffset(2), 1024 + 4096);
    EXPECT_EQ(env.recording->recordOffset(2, true), 1024 + 4096 + 2048);
}

// The reader, the header scan and the search all step from frame to frame by
// the one stride: a record pair in an envelope recording, one record otherwise.
TEST(RecordOffsetTest, OneStrideForEveryPassOverTheFrames) {
    for (const bool envelope : {false, true}) {
        TempFile file;
        const OpenOutcome out = openBytes(file, flaggedRecording(0, envelope));
        ASSERT_TRUE(out.recording);
        const OpenRecording& rec = *out.recording;
        const int64_t stride = envelope ? 4096 : 2048;
        EXPECT_EQ(pelix::layout::frameStride(envelope), stride);
        EXPECT_EQ(rec.frameStride(), stride);
        EXPECT_EQ(rec.recordOffset(3) - rec.recordOffset(2), stride);
        EXPECT_EQ(frameRecordLayout(rec).stride, stride);
        EXPECT_EQ(frameRecordLayout(rec).firstRecord, rec.recordOffset(1));
        EXPECT_EQ(rec.recordOffset(60, true) - rec.recordOffset(60), envelope ? 2048 : 0)
            << "a plain frame has one record, whichever is asked for";
    }
}

TEST(OpenRecordingTest, NeverWritesTheFile) {
    pelix::synth::SynthOptions options;
    options.frames = 20;
    const std::string bytes = pelix::testing::synthesize(options);
    TempFile file;
    file.write(bytes);
    std::filesystem::permissions(file.path(), std::filesystem::perms::owner_read);
    const auto before = std::filesystem::last_write_time(file.path());
    {
        OpenOutcome out = OpenRecording::open(file.path());
        ASSERT_TRUE(out.recording) << out.message;
        DecodedTrace trace;
        FrameHeaderBytes header{};
        for (int32_t n = 1; n <= out.recording->FrameCount(); ++n) {
            out.recording->seek(out.recording->recordOffset(n));
            out.recording->readFrameHeader(header);
            out.recording->readSampleBlock(trace);
        }
    }
    EXPECT_EQ(file.read(), bytes);
    EXPECT_EQ(std::filesystem::last_write_time(file.path()), before);
}

} // namespace
