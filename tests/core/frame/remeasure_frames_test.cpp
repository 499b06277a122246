// The run over every frame of a range: each frame measured as the window
// measures the one frame a user left the gates on, whatever frames came
// before it; a file that shrinks under the run ends it before the cut frame.
#include "core/frame/remeasure_frames.h"

#include "core/recording/open_recording.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pelix::frame {
namespace {

using recording::OpenRecording;

std::unique_ptr<OpenRecording> openFile(const std::string& path) {
    auto outcome = OpenRecording::open(path);
    EXPECT_TRUE(outcome.recording) << path << ": " << outcome.message;
    return std::move(outcome.recording);
}

std::vector<std::string> textsOf(const Remeasured& r) {
    std::vector<std::string> texts;
    for (const auto& reading : r.readings)
        texts.push_back(reading.text + (reading.current ? "" : "*"));
    for (const auto& row : r.rows)
        texts.push_back(row.hasValue ? row.value.text : "-");
    return texts;
}

TEST(RemeasureFramesTest, EachFrameIsMeasuredAsIfAlone) {
    const DraggedGate gateA{10.0F, 30};
    const DraggedGate gateB{40.0F, -20};
    for (const char* name : {"PLAIN_SCAN.BIN", "RF_INCH_V7.BIN", "ENVELOPE_US.BIN", "NEG_V6.BIN"}) {
        SCOPED_TRACE(name);
        auto rec = openFile(std::string(PELIX_SAMPLES_DIR) + "/" + name);
        ASSERT_TRUE(rec);
        const int32_t last = std::min(rec->FrameCount(), 40);
        std::vector<std::vector<std::string>> run;
        evaluation::CalReadings cal;
        const RemeasureOutcome outcome = remeasureFrames(
            *rec, 1, last, gateA, std::nullopt, cal, [&](const FrameView& view, const Remeasured& r) {
                EXPECT_EQ(view.frame, static_cast<int32_t>(run.size()) + 1);
                run.push_back(textsOf(r));
                return true;
            });
        ASSERT_EQ(outcome.end, RemeasureEnd::Done) << cal.failure();
        ASSERT_EQ(run.size(), static_cast<std::size_t>(last));
        // Backwards, one frame at a time with a fresh evaluation: the same results.
        for (int32_t n = last; n >= 1; n -= 7) {
            const FrameView view = frameView(*rec, n);
            evaluation::GateEvaluation fresh;
            const auto alone = remeasureGates(view, movedGatesFor(view, gateA, std::nullopt), fresh, cal);
            ASSERT_TRUE(alone);
            EXPECT_EQ(run[static_cast<std::size_t>(n - 1)], textsOf(*alone)) << "frame " << n;
        }
        // The gate not given stays where the frame put it.
        const FrameView view = frameView(*rec, 1);
        const evaluation::MovedGates moved = movedGatesFor(view, std::nullopt, gateB);
        EXPECT_EQ(moved.newGateAStart, view.gates.fGateAStart);
        EXPECT_EQ(moved.newGateAThresh, view.gates.iGateAThresh);
        EXPECT_EQ(moved.newGateBStart, 40.0F);
        EXPECT_EQ(moved.newGateBThresh, -20);
    }
}

TEST(RemeasureFramesTest, AShrunkFileEndsTheRunBeforeTheCutFrameAndAVisitorCanStop) {
    testing::TempFolder dir;
    const std::string path = dir.file("SHRINKS.BIN");
    std::filesystem::copy_file(std::string(PELIX_SAMPLES_DIR) + "/PLAIN_SCAN.BIN", path);
    auto rec = openFile(path);
    ASSERT_TRUE(rec);
    const auto size = std::filesystem::file_size(path);
    // Frame 3000 loses its last thousand sample bytes after the open.
    std::filesystem::resize_file(path, size - 1000);
    evaluation::CalReadings cal;
    int32_t visited = 0;
    const auto count = [&visited](const FrameView&, const Remeasured&) { return ++visited < 100000; };
    RemeasureOutcome outcome =
        remeasureFrames(*rec, 2990, 3000, DraggedGate{10.0F, 30}, std::nullopt, cal, count);
    EXPECT_EQ(outcome.end, RemeasureEnd::CutShort);
    EXPECT_EQ(outcome.stoppedAt, 3000);
    EXPECT_EQ(visited, 10);

    visited = 0;
    outcome = remeasureFrames(*rec, 1, 3000, DraggedGate{10.0F, 30}, std::nullopt, cal,
                              [&visited](const FrameView&, const Remeasured&) { return ++visited < 5; });
    EXPECT_EQ(outcome.end, RemeasureEnd::Stopped);
    EXPECT_EQ(outcome.stoppedAt, 5);
}

} // namespace
} // namespace pelix::frame
