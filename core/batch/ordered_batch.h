// Many recordings summarised over a few threads, their rows handed out in the
// order the files were given: a row goes out as soon as it and every row
// before it are made, so a long list streams and a reader sees the same order
// whatever the number of workers.
#pragma once

#include "core/batch/recording_summary.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace pelix::batch {

// Makes row i; called on the worker threads, for each i once.
using RowMaker = std::function<RecordingSummary(std::size_t index)>;
// Takes row i on the calling thread, i = 0, 1, 2, …; false stops the batch.
using RowTaker = std::function<bool(const RecordingSummary& row)>;

// `workers` threads (at least one, at most `count`) make the rows. Once `take` returns
// false no further row is started, and the call returns when the rows in hand are done.
void runInOrder(std::size_t count, int workers, const RowMaker& make, const RowTaker& take);

// Every file of `paths` through summariseRecording.
void summariseInOrder(const std::vector<std::string>& paths, const SummaryRules& rules, int workers,
                      const RowTaker& take);

} // namespace pelix::batch
