// Every frame of a range re-measured on several threads for a table of the
// whole run, the results taken in frame order.
#pragma once

#include "core/frame/lean_remeasure.h"
#include "core/frame/ordered_batches.h"
#include "core/frame/remeasure_frames.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace pelix::frame {

// remeasureFrames spread over `workers` threads for a table of the whole run: frames are
// taken in batches of `batchFrames`, each batch measured on a worker by a FrameRemeasurer (the
// lean read, see lean_remeasure.h) and `measure(view, result, batch)` called there for each of
// its frames in order (a `measure` that returns bool stops its batch at the frame it returns false
// for, which a caller stopping the run from outside uses not to wait for whole batches); `take(batch)` then
// sees the batches in frame order on the calling thread (returning false stops the run). Each worker calls
// its own copy of `measure`. A batch cut short by the end of the file is taken with the frames before the
// cut, and the run ends there. `Batch` needs clear(); `failure`, when given, receives why the calculation
// library could not be used. The results hold what `options` asks for; a table never reads the panel
// rows' texts, so they are not made whatever `options` says.
template <class Batch, class Measure, class Take>
RemeasureOutcome
remeasureFramesInOrder(const recording::OpenRecording& recording, int32_t first, int32_t last,
                       const std::optional<DraggedGate>& gateA, const std::optional<DraggedGate>& gateB,
                       int workers, int32_t batchFrames, const Measure& measure, const Take& take,
                       std::string* failure = nullptr, RemeasureOptions options = {.panelRows = false}) {
    struct Slot {
        Batch batch{};
        int32_t last = 0;
        RemeasureOutcome end;
        std::string failure;
    };
    if (last < first) return {};
    batchFrames = std::max<int32_t>(batchFrames, 1);
    const int64_t batches = (int64_t{last} - first) / batchFrames + 1;
    RemeasureOutcome outcome;
    options.panelRows = false;
    const auto makeWorker = [&] {
        // Each worker measures with its own copy of `measure`, so what it keeps stays on its thread.
        return [&, perWorker = measure,
                remeasurer = std::make_shared<FrameRemeasurer>(recording, gateA, gateB, options)](
                   int64_t index, Slot& slot) mutable {
            slot.batch.clear();
            const int64_t from = first + index * batchFrames;
            slot.last = static_cast<int32_t>(std::min<int64_t>(last, from + batchFrames - 1));
            slot.end = remeasurer->run(
                static_cast<int32_t>(from), slot.last, [&](const FrameView& view, const Remeasured& result) {
                    if constexpr (std::is_same_v<decltype(perWorker(view, result, slot.batch)), bool>)
                        return perWorker(view, result, slot.batch);
                    else {
                        perWorker(view, result, slot.batch);
                        return true;
                    }
                });
            if (slot.end.end == RemeasureEnd::LibraryMissing) slot.failure = remeasurer->failure();
        };
    };
    runOrderedBatches<Slot>(batches, workers, makeWorker, [&](Slot& slot) {
        const bool more = take(slot.batch);
        if (slot.end.end != RemeasureEnd::Done) {
            outcome = slot.end;
            if (failure) *failure = slot.failure;
            return false;
        }
        if (!more) {
            outcome = {RemeasureEnd::Stopped, slot.last};
            return false;
        }
        return true;
    });
    return outcome;
}

} // namespace pelix::frame
