// B-scan cells against the rule, computed here independently from the frames
// the display itself reads and decodes: columns and rows at the edges, every
// rectification, envelope pairs, a short echo in a long recording, a file cut
// short, several workers, stopping.
#include "core/bscan/bscan_scan.h"
#include "core/recording/open_recording.h"
#include "support/recording_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using namespace pelix::bscan;
using namespace pelix::recording;
using pelix::testing::putBigEndian;
using pelix::testing::TempFile;

// A recording of `frames` frames, rectification `rect`, whose samples are a low
// noise with a few peaks of varied height at varied places.
std::string noisyRecording(int32_t rect, std::size_t frames, bool envelope = false) {
    const std::size_t records = frames * (envelope ? 2 : 1);
    std::string bytes = pelix::testing::rawRecording(records * kFrameRecordBytes);
    putBigEndian(bytes, rh::Rectification, rect);
    putBigEndian(bytes, rh::Envelope, envelope ? 1 : 0);
    uint32_t state = 12345u + static_cast<uint32_t>(rect);
    for (std::size_t r = 0; r < records; ++r) {
        char* block = bytes.data() + kRecordingHeaderBytes + r * kFrameRecordBytes + kFrameHeaderBytes;
        for (std::size_t i = 0; i < kSampleBlockBytes; ++i) {
            state = state * 1664525u + 1013904223u;
            const uint32_t x = state >> 24;
            block[i] = static_cast<char>(x < 250 ? x % 12 : 12 + (state >> 8) % 244);
        }
    }
    return bytes;
}

// The cells by the rule, from the frames as the display reads and decodes them.
// -1 marks a column with no value.
std::vector<std::vector<int>> expectedCells(const std::string& path, int32_t from, int32_t to, int32_t width,
                                            int32_t height) {
    OpenOutcome opened = OpenRecording::open(path);
    OpenRecording& rec = *opened.recording;
    const bool rf = rec.header().Rectification == 0;
    const int64_t n = int64_t{to} - from + 1;
    std::vector<std::vector<int>> cells(static_cast<std::size_t>(height),
                                        std::vector<int>(static_cast<std::size_t>(width), -1));
    for (int32_t c = 0; c < width; ++c) {
        const int64_t first = from + c * n / width;
        const int64_t last = std::max(first, from + (c + 1) * n / width - 1);
        for (int64_t f = first; f <= last; ++f) {
            rec.seek(rec.recordOffset(static_cast<int32_t>(f)));
            FrameHeaderBytes header{};
            DecodedTrace trace;
            rec.readFrameHeader(header);
            if (rec.readSampleBlock(trace) != SampleRead::Decoded) continue;
            // An envelope frame is whole only with its second record.
            if (rec.header().isEnvelope() &&
                rec.file().length() <
                    rec.recordOffset(static_cast<int32_t>(f), true) + static_cast<int64_t>(kFrameRecordBytes))
                continue;
            for (int32_t r = 0; r < height; ++r) {
                int v = 0;
                for (int32_t s = r * 800 / height; s <= (r + 1) * 800 / height - 1; ++s) {
                    int value = trace.AscanPoints[static_cast<std::size_t>(s)];
                    if (rf)
                        value = std::max(value, int{trace.AscanPoints[static_cast<std::size_t>(800 + s)]});
                    v = std::max(v, value);
                }
                if (rf) v = static_cast<int>(std::nearbyint(v / 2.0));
                int& cell = cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
                cell = std::max(cell, v);
            }
        }
    }
    return cells;
}

std::vector<std::vector<int>> cellsOf(const BscanGrid& grid) {
    std::vector<std::vector<int>> cells(static_cast<std::size_t>(grid.height()),
                                        std::vector<int>(static_cast<std::size_t>(grid.width()), -1));
    for (int32_t r = 0; r < grid.height(); ++r)
        for (int32_t c = 0; c < grid.width(); ++c)
            if (grid.hasValue(c))
                cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = grid.cell(r, c);
    return cells;
}

BscanResult scanFile(const std::string& path, const BscanRequest& request, unsigned workers = 1,
                     std::atomic<int64_t>* done = nullptr, const std::atomic<bool>* stop = nullptr) {
    OpenOutcome opened = OpenRecording::open(path);
    EXPECT_TRUE(opened.recording) << opened.message;
    return scanBscan(*opened.recording, request, stop, done, workers);
}

struct RuleCase {
    const char* name;
    int32_t rect;
    int32_t frames;
    BscanRequest request;
};

TEST(BscanScanTest, CellsFollowTheColumnAndRowRule) {
    const RuleCase cases[] = {
        {"fewer frames than columns", 3, 5, {1, 5, 12, 8}},
        {"as many frames as columns", 1, 8, {1, 8, 8, 16}},
        {"more frames than columns", 2, 37, {1, 37, 5, 10}},
        {"rows not dividing 800", 3, 9, {1, 9, 4, 7}},
        {"799 rows", 1, 3, {1, 3, 2, 799}},
        {"one sample a row", 3, 3, {1, 3, 3, 800}},
        {"one column", 3, 11, {1, 11, 1, 3}},
        {"one row", 1, 11, {1, 11, 4, 1}},
        {"a range inside the recording", 3, 30, {4, 20, 6, 9}},
        {"a range inside, fewer frames than columns", 2, 30, {28, 30, 7, 5}},
        {"RF", 0, 23, {1, 23, 7, 13}},
        {"RF, fewer frames than columns", 0, 4, {1, 4, 9, 3}},
    };
    for (const RuleCase& t : cases) {
        TempFile file;
        file.write(noisyRecording(t.rect, static_cast<std::size_t>(t.frames)));
        for (unsigned workers : {1u, 2u, 3u}) {
            const BscanResult result = scanFile(file.path(), t.request, workers);
            EXPECT_EQ(result.end, BscanEnd::Complete) << t.name;
            EXPECT_EQ(result.grid.scale(), t.rect == 0 ? CellScale::Rf : CellScale::Rectified) << t.name;
            EXPECT_EQ(cellsOf(result.grid), expectedCells(file.path(), t.request.from, t.request.to,
                                                          t.request.width, t.request.height))
                << t.name << ", " << workers << " workers";
        }
    }
}

TEST(BscanScanTest, ColumnsNameTheirFrames) {
    const BscanGrid fewer(5, 1, 11, 13, CellScale::Rectified); // 3 frames over 5 columns
    const int32_t shown[] = {11, 11, 12, 12, 13};
    for (int32_t c = 0; c < 5; ++c) {
        EXPECT_EQ(fewer.firstFrameOf(c), shown[c]) << c;
        EXPECT_EQ(fewer.lastFrameOf(c), shown[c]) << c;
    }
    const BscanGrid more(3, 1, 1, 10, CellScale::Rectified); // 10 frames over 3 columns: 1-3, 4-6, 7-10
    EXPECT_EQ(more.firstFrameOf(1), 4);
    EXPECT_EQ(more.lastFrameOf(1), 6);
    EXPECT_EQ(more.lastFrameOf(2), 10);
}

TEST(BscanScanTest, RfCellsAreTheDistanceFromTheCentreLine) {
    // Half of the screen percent, halves to even: 255 is 100 % (50), 3 is 1 % (0), 8 is 3 % (2), 13 is 5 %
    // (2).
    const std::pair<uint8_t, int> cases[] = {{255, 50}, {0, 0}, {3, 0}, {8, 2}, {13, 2}, {200, 39}};
    for (const auto& [byte, cell] : cases) {
        EXPECT_EQ(cellOfByte(byte, CellScale::Rf), cell) << int{byte};
        EXPECT_EQ(cellOfByte(byte, CellScale::Rectified), screenPercent(byte)) << int{byte};
    }
}

TEST(BscanScanTest, OneFrameEchoInAHundredThousandFramesShowsAtAHundredColumns) {
    // A sparse file: 100,000 frames of zero samples but for one echo.
    constexpr int32_t kFrames = 100000, kEcho = 54321, kSample = 500;
    TempFile file;
    {
        std::string head = pelix::testing::rawRecording(0);
        putBigEndian(head, rh::Rectification, 1);
        std::ofstream out(file.path(), std::ios::binary | std::ios::trunc);
        out.write(head.data(), static_cast<std::streamsize>(head.size()));
        out.seekp(static_cast<std::streamoff>(kRecordingHeaderBytes + (kEcho - 1) * kFrameRecordBytes +
                                              kFrameHeaderBytes + 2 * kSample));
        out.put(static_cast<char>(200)); // 78 %
    }
    std::filesystem::resize_file(file.path(),
                                 kRecordingHeaderBytes + std::size_t{kFrames} * kFrameRecordBytes);
    std::atomic<int64_t> done{0};
    const BscanResult result = scanFile(file.path(), {1, 0, 100, 400}, 0, &done);
    ASSERT_EQ(result.end, BscanEnd::Complete);
    EXPECT_EQ(done.load(), kFrames);
    EXPECT_EQ(result.grid.to(), kFrames);
    int lit = 0;
    for (int32_t r = 0; r < 400; ++r)
        for (int32_t c = 0; c < 100; ++c)
            if (result.grid.cell(r, c) != 0) {
                ++lit;
                EXPECT_EQ(c, (kEcho - 1) / 1000);
                EXPECT_EQ(r, kSample / 2);
                EXPECT_EQ(result.grid.cell(r, c), 78);
            }
    EXPECT_EQ(lit, 1);
}

TEST(BscanScanTest, EnvelopeRecordingsShowTheLiveTrace) {
    for (int32_t rect : {0, 3}) {
        std::string bytes = pelix::testing::rawRecording(6 * kFrameRecordBytes); // 3 frames
        putBigEndian(bytes, rh::Rectification, rect);
        putBigEndian(bytes, rh::Envelope, 1);
        auto sample = [&](std::size_t record, std::size_t index) -> char& {
            return bytes[kRecordingHeaderBytes + record * kFrameRecordBytes + kFrameHeaderBytes + index];
        };
        sample(2, 2 * 100 + 1) = static_cast<char>(200); // frame 2, live trace, positive half-wave at 100
        sample(3, 2 * 300) = static_cast<char>(255);     // frame 2, envelope record: not shown
        TempFile file;
        file.write(bytes);
        const BscanResult result = scanFile(file.path(), {1, 0, 3, 800});
        ASSERT_EQ(result.end, BscanEnd::Complete);
        EXPECT_EQ(result.grid.cell(100, 1), rect == 0 ? 39 : 78) << rect;
        EXPECT_EQ(result.grid.cell(300, 1), 0) << rect;
        EXPECT_EQ(cellsOf(result.grid), expectedCells(file.path(), 1, 3, 3, 800)) << rect;
    }
}

TEST(BscanScanTest, GeneratedRecordingsMatchTheRule) {
    struct Generated {
        int32_t rect;
        bool envelope;
    };
    for (const Generated g :
         {Generated{0, false}, Generated{3, false}, Generated{1, true}, Generated{0, true}}) {
        pelix::synth::SynthOptions options;
        options.rectification = g.rect;
        options.envelope = g.envelope;
        options.frames = 120;
        TempFile file;
        file.write(pelix::testing::synthesize(options));
        const BscanResult result = scanFile(file.path(), {1, 0, 50, 60});
        EXPECT_EQ(result.end, BscanEnd::Complete);
        EXPECT_EQ(cellsOf(result.grid), expectedCells(file.path(), 1, 120, 50, 60))
            << "rect " << g.rect << (g.envelope ? " envelope" : "");
    }
}

TEST(BscanScanTest, AFrameCutShortIsLeftOut) {
    struct Cut {
        const char* name;
        bool envelope;
        std::size_t keepBytes; // of the last frame, enough that the recording counts it
    };
    const Cut cuts[] = {
        {"samples cut", false, kFrameRecordBytes / 2},
        {"samples barely begun", false, kFrameHeaderBytes + 600},
        {"envelope pair without its second record", true, kFrameRecordBytes + 10},
    };
    for (const Cut& t : cuts) {
        std::string bytes = noisyRecording(3, 4, t.envelope);
        const std::size_t stride = t.envelope ? 2 * kFrameRecordBytes : kFrameRecordBytes;
        bytes.resize(kRecordingHeaderBytes + 3 * stride + t.keepBytes);
        TempFile file;
        file.write(bytes);
        for (unsigned workers : {1u, 2u}) {
            // 4 frames over 8 columns: frame 4 alone in the last two.
            const BscanResult result = scanFile(file.path(), {1, 0, 8, 20}, workers);
            EXPECT_EQ(result.end, BscanEnd::CutShort) << t.name;
            EXPECT_EQ(result.cutShortAt, 4) << t.name;
            for (int32_t c = 0; c < 8; ++c)
                EXPECT_EQ(result.grid.hasValue(c), c < 6) << t.name << ", column " << c;
            EXPECT_EQ(cellsOf(result.grid), expectedCells(file.path(), 1, 4, 8, 20)) << t.name;
            // Frames 3 and 4 in one column: the column shows frame 3.
            const BscanResult shared = scanFile(file.path(), {1, 0, 2, 20}, workers);
            EXPECT_TRUE(shared.grid.hasValue(1)) << t.name;
            EXPECT_EQ(cellsOf(shared.grid), expectedCells(file.path(), 1, 4, 2, 20)) << t.name;
        }
    }
}

TEST(BscanScanTest, ProgressCountsEveryFrameOnceAndAStopLeavesNoColumnHalfDone) {
    TempFile file;
    file.write(noisyRecording(3, 40));
    for (const BscanRequest request : {BscanRequest{1, 0, 7, 10}, BscanRequest{3, 33, 100, 10}}) {
        for (unsigned workers : {1u, 2u, 3u}) {
            std::atomic<int64_t> done{0};
            scanFile(file.path(), request, workers, &done);
            EXPECT_EQ(done.load(), (request.to ? request.to : 40) - request.from + 1) << workers;
        }
    }
    const std::atomic<bool> stop{true};
    for (unsigned workers : {1u, 2u}) {
        const BscanResult result = scanFile(file.path(), {1, 0, 20, 10}, workers, nullptr, &stop);
        EXPECT_EQ(result.end, BscanEnd::Stopped);
        for (int32_t c = 0; c < 20; ++c)
            EXPECT_FALSE(result.grid.hasValue(c)) << c;
    }
}

TEST(BscanScanTest, AStopPartWayKeepsOnlyWholeColumns) {
    TempFile file;
    file.write(noisyRecording(3, 3000));
    const auto expected = expectedCells(file.path(), 1, 3000, 60, 8);
    for (unsigned workers : {1u, 2u}) {
        std::atomic<bool> stop{false};
        std::atomic<int64_t> done{0};
        std::thread stopper([&] {
            while (done.load() == 0)
                std::this_thread::yield();
            stop = true;
        });
        const BscanResult result = scanFile(file.path(), {1, 0, 60, 8}, workers, &done, &stop);
        stopper.join();
        // The stop may come after the last block was read; either way no column is half done.
        EXPECT_TRUE(result.end == BscanEnd::Stopped || result.end == BscanEnd::Complete);
        int whole = 0;
        for (int32_t c = 0; c < 60; ++c) {
            if (!result.grid.hasValue(c)) continue;
            ++whole;
            for (int32_t r = 0; r < 8; ++r)
                EXPECT_EQ(result.grid.cell(r, c),
                          expected[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]);
        }
        if (result.end == BscanEnd::Stopped) {
            EXPECT_LT(whole, 60) << workers;
        }
    }
}

TEST(BscanScanTest, AnUnknownRectificationGivesNoValues) {
    TempFile file;
    file.write(noisyRecording(7, 5));
    const BscanResult result = scanFile(file.path(), {1, 0, 5, 10});
    EXPECT_EQ(result.end, BscanEnd::UnknownRectification);
    for (int32_t c = 0; c < 5; ++c)
        EXPECT_FALSE(result.grid.hasValue(c));
}

TEST(BscanScanTest, RequestsAreKeptInsideTheRecordingAndTheGridLimits) {
    struct Clamp {
        BscanRequest in;
        BscanRequest out;
    };
    const Clamp cases[] = {
        {{1, 0, 1000, 400}, {1, 50, 1000, 400}},
        {{-5, 99, 0, 0}, {1, 50, 1, 1}},
        {{60, 70, 30000, 900}, {50, 50, 20000, 800}},
        {{20, 10, 5, 5}, {20, 20, 5, 5}},
    };
    for (const Clamp& t : cases) {
        const BscanRequest r = clampedRequest(t.in, 50);
        EXPECT_EQ(std::tie(r.from, r.to, r.width, r.height),
                  std::tie(t.out.from, t.out.to, t.out.width, t.out.height));
    }
}

} // namespace
