// The batch runner: rows made out of order on many threads still reach the
// taker in the order given, each made once, and a taker that stops ends the
// batch without starting the rest.
#include "core/batch/ordered_batch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

namespace {

using namespace pelix::batch;

RecordingSummary rowNamed(std::size_t i) {
    RecordingSummary row;
    row.path = std::to_string(i);
    return row;
}

class OrderedBatch : public ::testing::TestWithParam<int> {};

TEST_P(OrderedBatch, HandsRowsOutInTheOrderGivenWhateverFinishesFirst) {
    constexpr std::size_t kCount = 40;
    std::mutex lock;
    std::multiset<std::size_t> made;
    std::vector<std::string> taken;
    runInOrder(
        kCount, GetParam(),
        [&](std::size_t i) {
            // Early rows take longest, so later ones are done first whenever there are workers to spare.
            std::this_thread::sleep_for(std::chrono::microseconds(50 * (kCount - i)));
            const std::lock_guard guard(lock);
            made.insert(i);
            return rowNamed(i);
        },
        [&](const RecordingSummary& row) {
            taken.push_back(row.path);
            return true;
        });
    ASSERT_EQ(taken.size(), kCount);
    for (std::size_t i = 0; i < kCount; ++i) {
        EXPECT_EQ(taken[i], std::to_string(i));
        EXPECT_EQ(made.count(i), 1u) << "row " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Workers, OrderedBatch, ::testing::Values(1, 2, 7, 256),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Workers" + std::to_string(info.param);
                         });

TEST(OrderedBatchStop, ATakerThatStopsEndsTheBatchWithoutStartingTheRest) {
    constexpr std::size_t kCount = 1000;
    constexpr int kWorkers = 3;
    // Makers keep at most kAhead rows ahead of the taker, so a busy machine that leaves the taker
    // waiting cannot let the workers run through the whole list before the stop.
    constexpr std::size_t kAhead = 8;
    std::atomic<std::size_t> made{0};
    std::atomic<std::size_t> taken{0};
    std::atomic<bool> stopped{false};
    runInOrder(
        kCount, kWorkers,
        [&](std::size_t i) {
            while (!stopped && i > taken + kAhead)
                std::this_thread::sleep_for(std::chrono::microseconds(100));
            ++made;
            return rowNamed(i);
        },
        [&](const RecordingSummary&) {
            if (++taken < 5) return true;
            stopped = true;
            return false;
        });
    EXPECT_EQ(taken, 5u);
    // Rows 0..5+kAhead may be made before the stop is seen, and each worker finishes the row in
    // its hand; no further one is started.
    EXPECT_LE(made.load(), 5 + kAhead + 1 + kWorkers);
}

TEST(OrderedBatchStop, NothingToDoCallsNoOne) {
    bool called = false;
    runInOrder(
        0, 4,
        [&](std::size_t) {
            called = true;
            return RecordingSummary{};
        },
        [&](const RecordingSummary&) { return called = true; });
    EXPECT_FALSE(called);
}

} // namespace
