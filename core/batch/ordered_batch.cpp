#include "core/batch/ordered_batch.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace pelix::batch {

void runInOrder(std::size_t count, int workers, const RowMaker& make, const RowTaker& take) {
    if (count == 0) return;
    const auto threads = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(workers, 1)), 1, count);
    std::vector<std::optional<RecordingSummary>> made(count);
    std::mutex lock;
    std::condition_variable madeOne;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};

    const auto work = [&] {
        while (!stop.load(std::memory_order_relaxed)) {
            const std::size_t i = next.fetch_add(1, std::memory_order_relaxed);
            if (i >= count) return;
            RecordingSummary row = make(i);
            {
                const std::lock_guard guard(lock);
                made[i] = std::move(row);
            }
            madeOne.notify_all();
        }
    };
    std::vector<std::jthread> pool;
    pool.reserve(threads);
    for (std::size_t t = 0; t < threads; ++t)
        pool.emplace_back(work);

    for (std::size_t i = 0; i < count; ++i) {
        RecordingSummary row;
        {
            std::unique_lock guard(lock);
            madeOne.wait(guard, [&] { return made[i].has_value(); });
            row = std::move(*made[i]);
            made[i].reset(); // a handed-out row is held no longer
        }
        if (!take(row)) {
            stop.store(true, std::memory_order_relaxed);
            break;
        }
    }
    // The pool joins as it goes out of scope: the rows in hand are finished, none is started.
}

void summariseInOrder(const std::vector<std::string>& paths, const SummaryRules& rules, int workers,
                      const RowTaker& take) {
    runInOrder(
        paths.size(), workers, [&](std::size_t i) { return summariseRecording(paths[i], rules); }, take);
}

} // namespace pelix::batch
