// Work over a long run of frames spread over worker threads, with the results
// taken in frame order on the calling thread: the run is cut into batches,
// each worker takes the next batch not yet taken, and the caller consumes the
// batches one after the other as they are done. Only a few batches are ever
// held (two per worker), so memory stays flat however long the run is.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace pelix::frame {

// The worker threads to use: the processors the system offers, at least one.
inline int defaultWorkerCount() {
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// `makeWorker()` runs once on each worker thread and returns what fills a batch there:
// `worker(index, batch)` fills batch `index` (0 .. batches-1; `batch` is reused, the worker resets
// what it needs). `consume(batch)` sees the batches in order on the calling thread; returning false
// stops the run (the batches after it are not consumed, and no new batch is begun).
template <class Batch, class MakeWorker, class Consume>
void runOrderedBatches(int64_t batches, int workers, const MakeWorker& makeWorker, const Consume& consume) {
    if (batches <= 0) return;
    workers = static_cast<int>(std::clamp<int64_t>(workers, 1, batches));
    const int64_t slotCount = 2 * static_cast<int64_t>(workers);
    struct Slot {
        Batch batch{};
        int64_t index = -1; // the batch it holds once filled
        bool ready = false;
    };
    std::vector<Slot> slotRing(static_cast<std::size_t>(slotCount));
    std::mutex mutex;
    std::condition_variable changed;
    int64_t nextToTake = 0;
    int64_t consumed = 0; // batches the caller has finished with
    bool stop = false;

    const auto work = [&] {
        auto worker = makeWorker();
        for (;;) {
            int64_t index = 0;
            Slot* slot = nullptr;
            {
                std::unique_lock lock(mutex);
                // A batch's slot is free once the batch slotCount before it was consumed.
                changed.wait(
                    lock, [&] { return stop || nextToTake >= batches || nextToTake - consumed < slotCount; });
                if (stop || nextToTake >= batches) return;
                index = nextToTake++;
                slot = &slotRing[static_cast<std::size_t>(index % slotCount)];
            }
            worker(index, slot->batch);
            {
                std::lock_guard lock(mutex);
                slot->index = index;
                slot->ready = true;
            }
            changed.notify_all();
        }
    };

    std::vector<std::thread> threads;
    threads.reserve(static_cast<std::size_t>(workers));
    for (int w = 0; w < workers; ++w)
        threads.emplace_back(work);

    for (int64_t index = 0; index < batches; ++index) {
        Slot& slot = slotRing[static_cast<std::size_t>(index % slotCount)];
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slot.ready && slot.index == index; });
        }
        const bool more = consume(slot.batch);
        {
            std::lock_guard lock(mutex);
            slot.ready = false;
            ++consumed;
            if (!more) stop = true;
        }
        changed.notify_all();
        if (!more) break;
    }
    for (std::thread& t : threads)
        t.join();
}

} // namespace pelix::frame
