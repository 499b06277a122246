// The search over whole recording files: order, envelope pairs, records cut
// short, a file that shrinks, several workers, cancelling.
#include "core/recording/open_recording.h"
#include "core/search/frame_search.h"
#include "core/search/search_entries.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace pelix::recording;
using pelix::search::FrameSearch;
using pelix::search::SearchLimits;
using pelix::testing::putBigEndian;
using pelix::testing::TempFile;

// A recording of `records` records, every sample 0, rectification `rect`.
std::string recordingBytes(int32_t rect, std::size_t records, bool envelope = false) {
    std::string bytes = pelix::testing::rawRecording(records * kFrameRecordBytes);
    putBigEndian(bytes, rh::Rectification, rect);
    putBigEndian(bytes, rh::Envelope, envelope ? 1 : 0);
    return bytes;
}

// An echo of 78 % (byte 200) in record `record` (0-based) at sample pair `pair`.
void plantEcho(std::string& bytes, std::size_t record, std::size_t pair, bool positive = false) {
    bytes[kRecordingHeaderBytes + record * kFrameRecordBytes + kFrameHeaderBytes + 2 * pair +
          (positive ? 1 : 0)] = static_cast<char>(200); // 78 %
}

const SearchLimits kBox{95, 105, 70, 90}; // pairs 95..105, 70..90 %

std::vector<int32_t> searchFile(const std::string& path, const SearchLimits& box, unsigned workers = 0) {
    OpenOutcome opened = OpenRecording::open(path);
    EXPECT_TRUE(opened.recording) << opened.message;
    if (!opened.recording) return {};
    FrameSearch search(*opened.recording, box, workers);
    search.run();
    std::vector<int32_t> matches;
    search.collect(matches);
    EXPECT_EQ(search.framesTested(), opened.recording->FrameCount());
    return matches;
}

TEST(FrameSearchTest, ListsMatchingFramesInOrder) {
    for (int32_t rect : {0, 1, 3}) {
        std::string bytes = recordingBytes(rect, 20);
        for (std::size_t frame : {17, 3, 9})
            plantEcho(bytes, frame - 1, 100);
        plantEcho(bytes, 11, 300); // outside the box
        TempFile file;
        file.write(bytes);
        EXPECT_EQ(searchFile(file.path(), kBox), (std::vector<int32_t>{3, 9, 17})) << "rect " << rect;
        EXPECT_TRUE(searchFile(file.path(), {95, 105, 80, 100}).empty()) << "rect " << rect;
    }
}

TEST(FrameSearchTest, EnvelopeFramesAreTestedOnTheFirstRecordOfTheirPair) {
    std::string bytes = recordingBytes(1, 10, true); // 5 frames
    plantEcho(bytes, 2, 100);                        // frame 2, first record: the live trace
    plantEcho(bytes, 5, 100);                        // frame 3, second record: the envelope only
    TempFile file;
    file.write(bytes);
    EXPECT_EQ(searchFile(file.path(), kBox), (std::vector<int32_t>{2}));
}

TEST(FrameSearchTest, AFrameCutShortNeverMatches) {
    // 3.5 records round to 4 frames; the last holds its header and part of its samples.
    std::string bytes = recordingBytes(1, 4);
    plantEcho(bytes, 0, 100);
    plantEcho(bytes, 3, 100);
    bytes.resize(bytes.size() - kFrameRecordBytes / 2);
    TempFile file;
    file.write(bytes);
    EXPECT_EQ(searchFile(file.path(), kBox), (std::vector<int32_t>{1}));

    // An envelope frame whose second record is missing cannot be shown whole either.
    std::string pairs = recordingBytes(1, 6, true);
    plantEcho(pairs, 0, 100);
    plantEcho(pairs, 4, 100);
    pairs.resize(pairs.size() - kFrameRecordBytes);
    TempFile envelope;
    envelope.write(pairs);
    EXPECT_EQ(searchFile(envelope.path(), kBox), (std::vector<int32_t>{1}));
}

TEST(FrameSearchTest, AFileThatShrinksWhileOpenGivesTheWholeFramesLeft) {
    std::string bytes = recordingBytes(0, 3000);
    for (std::size_t frame = 1; frame <= 3000; frame += 100)
        plantEcho(bytes, frame - 1, 100);
    TempFile file;
    file.write(bytes);
    OpenOutcome opened = OpenRecording::open(file.path());
    ASSERT_TRUE(opened.recording);
    std::filesystem::resize_file(file.path(), kRecordingHeaderBytes + 1000 * kFrameRecordBytes + 10);
    FrameSearch search(*opened.recording, kBox, 2);
    search.run();
    std::vector<int32_t> matches;
    search.collect(matches);
    ASSERT_EQ(matches.size(), 10u);
    EXPECT_EQ(matches.back(), 901);
}

TEST(FrameSearchTest, WorkersSplitTheRecordingWithoutChangingTheResult) {
    // Matches on both sides of every chunk boundary (512 frames of 2 KiB).
    std::string bytes = recordingBytes(3, 5000);
    std::vector<int32_t> planted;
    for (int32_t frame : {1, 511, 512, 513, 1024, 1025, 2600, 4999, 5000}) {
        plantEcho(bytes, static_cast<std::size_t>(frame - 1), 100, true);
        planted.push_back(frame);
    }
    TempFile file;
    file.write(bytes);
    for (unsigned workers : {1u, 2u, 3u, 0u})
        EXPECT_EQ(searchFile(file.path(), kBox, workers), planted) << workers;
}

TEST(FrameSearchTest, ACancelledSearchKeepsWhatItTestedInOrder) {
    std::string bytes = recordingBytes(1, 5000);
    for (std::size_t frame = 1; frame <= 5000; ++frame)
        plantEcho(bytes, frame - 1, 100);
    TempFile file;
    file.write(bytes);
    OpenOutcome opened = OpenRecording::open(file.path());
    ASSERT_TRUE(opened.recording);

    FrameSearch before(*opened.recording, kBox, 2);
    before.cancel();
    before.run();
    std::vector<int32_t> none;
    EXPECT_EQ(before.collect(none), 0u);
    EXPECT_EQ(before.framesTested(), 0);

    FrameSearch during(*opened.recording, kBox, 2);
    during.start();
    std::vector<int32_t> matches;
    while (matches.empty() && !during.finished()) {
        during.waitFor(std::chrono::milliseconds(1));
        during.collect(matches);
    }
    during.cancel();
    while (!during.waitFor(std::chrono::milliseconds(100))) {
    }
    during.collect(matches);
    // Every frame matches, so what is kept is exactly frames 1 .. framesTested().
    ASSERT_EQ(matches.size(), static_cast<std::size_t>(during.framesTested()));
    for (std::size_t i = 0; i < matches.size(); ++i)
        ASSERT_EQ(matches[i], static_cast<int32_t>(i + 1));
}

TEST(FrameSearchTest, TheSearchOutlivesTheRecordingItWasStartedFrom) {
    std::string bytes = recordingBytes(1, 50);
    plantEcho(bytes, 40, 100);
    TempFile file;
    file.write(bytes);
    OpenOutcome opened = OpenRecording::open(file.path());
    ASSERT_TRUE(opened.recording);
    FrameSearch search(*opened.recording, kBox);
    opened.recording.reset(); // the window closed its recording
    search.run();
    std::vector<int32_t> matches;
    search.collect(matches);
    EXPECT_EQ(matches, (std::vector<int32_t>{41}));
}

TEST(SearchEntriesTest, EntriesAndMarkers) {
    EXPECT_EQ(pelix::search::entryText(1, 57), "1.  Frame 57");
    EXPECT_EQ(pelix::search::entryText(600000, 1048575), "600000.  Frame 1048575");
    const struct {
        int32_t frame, count;
        double width, scale, x;
    } markers[] = {
        {1, 100, 12720, 1.0, 50}, {100, 100, 12720, 1.0, 12670}, {50, 99, 12720, 1.0, 6360},
        {1, 1, 12720, 1.0, 50},   {1, 1, 19080, 1.5, 75},        {3, 3, 19080, 1.5, 19005},
    };
    for (const auto& m : markers)
        EXPECT_DOUBLE_EQ(pelix::search::markerX(m.frame, m.count, m.width, m.scale), m.x)
            << m.frame << "/" << m.count;
}

} // namespace
