// The lean re-measure and its spread over worker threads: the same results as
// the window's frame-by-frame re-measure, in frame order, and the same end on
// a file that shrank.
#include "core/frame/lean_remeasure.h"
#include "core/frame/ordered_batches.h"
#include "core/frame/remeasure_in_order.h"

#include "core/recording/open_recording.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace pelix::frame {
namespace {

using recording::OpenRecording;

std::unique_ptr<OpenRecording> openFile(const std::string& path) {
    auto outcome = OpenRecording::open(path);
    EXPECT_TRUE(outcome.recording) << path << ": " << outcome.message;
    return std::move(outcome.recording);
}

// Everything a re-measure gives, and what a table reads of the view, as one line; a table's
// re-measure leaves the panel rows' texts out.
std::string lineOf(const FrameView& view, const Remeasured& r, bool withRows = true) {
    std::string line = std::to_string(view.frame) + (view.header.FrameFlag != 0 ? "F" : "");
    for (std::size_t i = 0; i < r.readings.size(); ++i)
        line += "|" + view.readings[i].name + "=" + r.readings[i].text + (r.readings[i].current ? "" : "*");
    if (withRows)
        for (const auto& row : r.rows)
            line += "|" + (row.hasValue ? row.value.text : std::string("-"));
    for (const PanelRow row : {PanelRow::GateAAmplitude, PanelRow::GateBAmplitude}) {
        const std::optional<int32_t> amplitude = shownAmplitude(r, row);
        line += "|" + (amplitude ? std::to_string(*amplitude) : std::string("none"));
    }
    line += "|" + std::to_string(r.DrawCaratOne) + std::to_string(r.fCaretOne) +
            std::to_string(r.DrawCaratTwo) + std::to_string(r.fCaretTwo);
    return line;
}

std::vector<std::string> windowRun(OpenRecording& rec, int32_t first, int32_t last,
                                   const std::optional<DraggedGate>& a, const std::optional<DraggedGate>& b,
                                   bool withRows) {
    std::vector<std::string> lines;
    evaluation::CalReadings cal;
    remeasureFrames(rec, first, last, a, b, cal, [&](const FrameView& view, const Remeasured& r) {
        // The amplitude a row shows is the number the re-measure keeps beside it.
        for (const PanelRow row : {PanelRow::GateAAmplitude, PanelRow::GateBAmplitude}) {
            const PanelRowView& shown = r.rows[indexOf(row)];
            const std::optional<int32_t> amplitude = shownAmplitude(r, row);
            EXPECT_EQ(shown.hasValue, amplitude.has_value());
            if (amplitude) {
                EXPECT_EQ(std::lround(std::strtod(shown.value.text.c_str(), nullptr)), *amplitude);
            }
        }
        lines.push_back(lineOf(view, r, withRows));
        return true;
    });
    return lines;
}

TEST(LeanRemeasureTest, OneWorkerAndManyGiveTheWindowsResultsInFrameOrder) {
    struct Case {
        const char* file;
        std::optional<DraggedGate> a, b;
    };
    const std::vector<Case> cases = {
        {"PLAIN_SCAN.BIN", DraggedGate{10.0F, 30}, DraggedGate{40.0F, -20}},
        {"RF_INCH_V7.BIN", DraggedGate{0.5F, 30}, DraggedGate{1.5F, -20}},
        {"ENVELOPE_US.BIN", std::nullopt, DraggedGate{30.0F, 20}},
        {"NEG_V6.BIN", DraggedGate{10.0F, 30}, std::nullopt},
        {"DGS_HOLE_LISTED_PROBE.BIN", DraggedGate{10.0F, 30}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto rec = openFile(std::string(PELIX_SAMPLES_DIR) + "/" + c.file);
        ASSERT_TRUE(rec);
        const int32_t last = std::min(rec->FrameCount(), 90);
        const std::vector<std::string> expected = windowRun(*rec, 1, last, c.a, c.b, true);
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(last));

        FrameRemeasurer lean(*rec, c.a, c.b);
        std::vector<std::string> alone;
        EXPECT_EQ(lean.run(1, last,
                           [&](const FrameView& view, const Remeasured& r) {
                               alone.push_back(lineOf(view, r));
                               return true;
                           })
                      .end,
                  RemeasureEnd::Done);
        EXPECT_EQ(alone, expected);
        const std::vector<std::string> table = windowRun(*rec, 1, last, c.a, c.b, false);

        // Batches of 7 frames over three workers, taken back in order.
        std::vector<std::string> spread;
        const RemeasureOutcome outcome = remeasureFramesInOrder<std::vector<std::string>>(
            *rec, 1, last, c.a, c.b, 3, 7,
            [](const FrameView& view, const Remeasured& r, std::vector<std::string>& batch) {
                batch.push_back(lineOf(view, r, false));
            },
            [&](const std::vector<std::string>& batch) {
                spread.insert(spread.end(), batch.begin(), batch.end());
                return true;
            });
        EXPECT_EQ(outcome.end, RemeasureEnd::Done);
        EXPECT_EQ(spread, table);
    }
}

// A table asks only for what it shows: the readings it asks for are the full run's, the rest
// stay empty, and an amplitude asked for is there exactly when the full run has it (the result
// is reused from frame to frame, so nothing of the frame before may show through).
TEST(LeanRemeasureTest, WhatATableLeavesOutStaysEmptyAndTheRestIsTheFullRuns) {
    struct Case {
        const char* file;
        std::optional<DraggedGate> a, b;
        RemeasureOptions options;
    };
    const std::vector<Case> cases = {
        {"PLAIN_SCAN.BIN",
         DraggedGate{10.0F, 30},
         DraggedGate{40.0F, -20},
         {.panelRows = false, .readingSlots = 0b1000101U, .amplitudes = true, .carets = false}},
        {"RF_INCH_V7.BIN",
         DraggedGate{0.5F, 30},
         std::nullopt,
         {.panelRows = false, .readingSlots = 0U, .amplitudes = true, .carets = false}},
        {"ENVELOPE_US.BIN",
         std::nullopt,
         DraggedGate{30.0F, 20},
         {.panelRows = false,
          .readingSlots = RemeasureOptions::kAllReadingSlots,
          .amplitudes = false,
          .carets = false}},
    };
    struct Frame {
        std::array<evaluation::CalReading, recording::kReadingSlots> readings;
        std::optional<double> amplitudeA, amplitudeB;
        bool caretOne = false, caretTwo = false;
    };
    const auto run = [](const OpenRecording& rec, const Case& c, const RemeasureOptions& options) {
        std::vector<Frame> frames;
        remeasureFramesInOrder<std::vector<Frame>>(
            rec, 1, std::min(rec.FrameCount(), 120), c.a, c.b, 2, 16,
            [](const FrameView&, const Remeasured& r, std::vector<Frame>& batch) {
                batch.push_back({r.readings, r.amplitudeA, r.amplitudeB, r.DrawCaratOne, r.DrawCaratTwo});
            },
            [&](const std::vector<Frame>& batch) {
                frames.insert(frames.end(), batch.begin(), batch.end());
                return true;
            },
            nullptr, options);
        return frames;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        auto rec = openFile(std::string(PELIX_SAMPLES_DIR) + "/" + c.file);
        ASSERT_TRUE(rec);
        const std::vector<Frame> full = run(*rec, c, {.panelRows = false});
        const std::vector<Frame> lean = run(*rec, c, c.options);
        ASSERT_EQ(lean.size(), full.size());
        bool anyCaret = false;
        for (std::size_t f = 0; f < full.size(); ++f) {
            SCOPED_TRACE("frame " + std::to_string(f + 1));
            for (std::size_t i = 0; i < recording::kReadingSlots; ++i) {
                const bool made = (c.options.readingSlots >> i & 1U) != 0;
                EXPECT_EQ(lean[f].readings[i].text, made ? full[f].readings[i].text : "");
                EXPECT_EQ(lean[f].readings[i].current, made ? full[f].readings[i].current : true);
            }
            EXPECT_EQ(lean[f].amplitudeA, c.options.amplitudes ? full[f].amplitudeA : std::nullopt);
            EXPECT_EQ(lean[f].amplitudeB, c.options.amplitudes ? full[f].amplitudeB : std::nullopt);
            EXPECT_FALSE(lean[f].caretOne || lean[f].caretTwo);
            anyCaret = anyCaret || full[f].caretOne || full[f].caretTwo;
        }
        EXPECT_TRUE(anyCaret) << "the gates find no echo: the case tells nothing about the carets";
    }
}

TEST(LeanRemeasureTest, AShrunkFileEndsTheSpreadRunBeforeTheCutFrame) {
    testing::TempFolder dir;
    for (const char* name : {"PLAIN_SCAN.BIN", "ENVELOPE_US.BIN"}) {
        SCOPED_TRACE(name);
        const std::string path = dir.file(std::string("SHRINKS_") + name);
        std::filesystem::copy_file(std::string(PELIX_SAMPLES_DIR) + "/" + name, path);
        auto rec = openFile(path);
        ASSERT_TRUE(rec);
        // The last frame loses its last sample bytes (an envelope pair: its second record's) after the open.
        const int32_t last = rec->FrameCount(), first = std::max(1, last - 40);
        std::filesystem::resize_file(
            path, static_cast<std::uintmax_t>(rec->recordOffset(last) + rec->frameStride() - 10));
        std::vector<int32_t> frames;
        const RemeasureOutcome outcome = remeasureFramesInOrder<std::vector<int32_t>>(
            *rec, first, last, DraggedGate{10.0F, 30}, std::nullopt, 2, 8,
            [](const FrameView& view, const Remeasured&, std::vector<int32_t>& batch) {
                batch.push_back(view.frame);
            },
            [&](const std::vector<int32_t>& batch) {
                frames.insert(frames.end(), batch.begin(), batch.end());
                return true;
            });
        EXPECT_EQ(outcome.end, RemeasureEnd::CutShort);
        EXPECT_EQ(outcome.stoppedAt, last);
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(last - first));
        EXPECT_EQ(frames.back(), last - 1);
    }
}

TEST(OrderedBatchesTest, BatchesArriveInOrderAndAStopEndsTheRun) {
    struct Case {
        int64_t batches;
        int workers;
        int64_t stopAfter; // the consumer refuses more after this many; -1 never
    };
    for (const Case& c : std::vector<Case>{{0, 2, -1}, {1, 4, -1}, {57, 3, -1}, {200, 2, 10}, {5, 8, 0}}) {
        SCOPED_TRACE(std::to_string(c.batches) + " batches, " + std::to_string(c.workers) + " workers");
        std::vector<int64_t> seen;
        std::atomic<int64_t> filled{0};
        runOrderedBatches<int64_t>(
            c.batches, c.workers,
            [&] {
                return [&](int64_t index, int64_t& batch) {
                    // Uneven work, so later batches are often done first.
                    if (index % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
                    batch = index;
                    ++filled;
                };
            },
            [&](const int64_t& batch) {
                seen.push_back(batch);
                return c.stopAfter < 0 || static_cast<int64_t>(seen.size()) <= c.stopAfter;
            });
        const int64_t expected = c.stopAfter < 0 ? c.batches : std::min(c.batches, c.stopAfter + 1);
        ASSERT_EQ(static_cast<int64_t>(seen.size()), expected);
        for (int64_t i = 0; i < expected; ++i)
            EXPECT_EQ(seen[static_cast<std::size_t>(i)], i);
        // Never more than the slots in flight beyond what was consumed.
        EXPECT_LE(filled.load(), expected + 2 * c.workers);
    }
}

} // namespace
} // namespace pelix::frame
