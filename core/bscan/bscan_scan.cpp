#include "core/bscan/bscan_scan.h"

#include "core/bscan/frame_blocks.h"
#include "core/recording/open_recording.h"

#include <algorithm>
#include <array>
#include <thread>

namespace pelix::bscan {

namespace {

using recording::kFrameHeaderBytes;
using recording::kSampleBlockBytes;

// Below this much to read, a second worker costs more than it saves.
constexpr int64_t kTwoWorkersFromBytes = 32 * 1024 * 1024;
constexpr unsigned kMostWorkers = 4;

enum class Rectification : int32_t { Rf = 0, Negative = 1, Positive = 2, FullWave = 3 };

bool knownRectification(int32_t r) {
    return r >= 0 && r <= 3;
}

// Each displayed sample's largest byte from the running maxima of a sample
// block's 800 pairs (negative half-wave first, positive second), as
// `composeSamples` takes them: RF shows both half-waves and the full wave the
// larger, so both take the larger byte of the pair.
void reducePairs(Rectification r, const uint8_t* pairs, uint8_t* samples) {
    for (std::size_t s = 0; s < static_cast<std::size_t>(kDisplayedSamples); ++s) {
        const uint8_t negative = pairs[2 * s], positive = pairs[2 * s + 1];
        switch (r) {
        case Rectification::Negative:
            samples[s] = negative;
            break;
        case Rectification::Positive:
            samples[s] = positive;
            break;
        case Rectification::Rf:
        case Rectification::FullWave:
            samples[s] = std::max(negative, positive);
            break;
        }
    }
}

// The running maximum of every byte of a sample block: the one loop that
// sees every byte of the recording, written so the compiler vectorises it.
void foldMaxima(uint8_t* __restrict maxima, const uint8_t* __restrict block) {
    for (std::size_t i = 0; i < kSampleBlockBytes; ++i) {
        const uint8_t b = block[i], m = maxima[i];
        maxima[i] = b > m ? b : m; // stored unconditionally, or the loop would not vectorise
    }
}

struct WorkerEnd {
    BscanEnd end = BscanEnd::Complete;
    int32_t cutShortAt = 0;
};

// Columns [first, end) of the grid.
WorkerEnd scanColumns(const recording::RecordingFile& file, const BscanSource& source, BscanGrid& grid,
                      int32_t first, int32_t end, const std::atomic<bool>* stop,
                      std::atomic<int64_t>* framesDone) {
    const int32_t countFrom = first > 0 ? grid.lastFrameOf(first - 1) + 1 : grid.from();
    FrameBlocks blocks(file, source.layout, grid.lastFrameOf(end - 1), stop, framesDone, countFrom);
    const auto rectification = static_cast<Rectification>(source.rectification);
    std::array<uint8_t, kSampleBlockBytes> maxima{};
    std::array<uint8_t, kDisplayedSamples> samples{};
    for (int32_t c = first; c < end; ++c) {
        const int32_t from = grid.firstFrameOf(c), to = grid.lastFrameOf(c);
        // Fewer frames than columns: this column shows the frame the one before shows.
        if (c > first && from == grid.firstFrameOf(c - 1)) {
            grid.copyColumn(c - 1, c);
            continue;
        }
        maxima.fill(0);
        bool any = false;
        int32_t missing = 0;
        for (int32_t frame = from; frame <= to; ++frame) {
            const uint8_t* record = blocks.record(frame);
            if (!record) {
                missing = frame;
                break;
            }
            foldMaxima(maxima.data(), record + kFrameHeaderBytes);
            any = true;
        }
        // A column cut short keeps the frames it read, a stopped one nothing:
        // it stopped part way and its cells would not be what they say.
        if (missing && blocks.stopped()) return {BscanEnd::Stopped, 0};
        if (any) {
            reducePairs(rectification, maxima.data(), samples.data());
            grid.setColumn(c, samples.data());
        }
        if (missing) return {BscanEnd::CutShort, missing};
    }
    return {};
}

} // namespace

BscanSource bscanSource(const recording::OpenRecording& rec) {
    return {recording::frameRecordLayout(rec), rec.header().Rectification};
}

BscanRequest clampedRequest(const BscanRequest& request, int32_t frameCount) {
    BscanRequest r = request;
    const int32_t last = std::max(frameCount, 1);
    r.from = std::clamp(r.from, 1, last);
    r.to = r.to <= 0 ? last : std::clamp(r.to, r.from, last);
    r.width = std::clamp(r.width, 1, kMaxWidth);
    r.height = std::clamp(r.height, 1, kMaxHeight);
    return r;
}

BscanResult scanBscan(const recording::RecordingFile& file, const BscanSource& source,
                      const BscanRequest& request, const std::atomic<bool>* stop,
                      std::atomic<int64_t>* framesDone, unsigned workers) {
    const BscanRequest r = clampedRequest(request, source.layout.frameCount);
    const CellScale scale = source.rectification == 0 ? CellScale::Rf : CellScale::Rectified;
    BscanResult result{BscanGrid(r.width, r.height, r.from, r.to, scale), BscanEnd::Complete, 0};
    if (!knownRectification(source.rectification)) {
        result.end = BscanEnd::UnknownRectification;
        return result;
    }
    if (source.layout.frameCount < 1 ||
        source.layout.stride < static_cast<int64_t>(recording::kFrameRecordBytes))
        return result;

    if (workers == 0) {
        const int64_t bytes = (int64_t{r.to} - r.from + 1) * source.layout.stride;
        workers = bytes >= kTwoWorkersFromBytes && std::thread::hardware_concurrency() >= 2 ? 2 : 1;
    }
    // Beyond a few workers the copies out of the file cache only take turns at the memory.
    workers = std::clamp(workers, 1u, std::min(kMostWorkers, static_cast<unsigned>(r.width)));

    BscanGrid& grid = result.grid;
    std::vector<WorkerEnd> ends(workers);
    auto columnsOf = [&](unsigned k) { return static_cast<int32_t>(int64_t{r.width} * k / workers); };
    {
        std::vector<std::jthread> helpers;
        for (unsigned k = 1; k < workers; ++k)
            helpers.emplace_back([&, k] {
                ends[k] = scanColumns(file, source, grid, columnsOf(k), columnsOf(k + 1), stop, framesDone);
            });
        ends[0] = scanColumns(file, source, grid, 0, columnsOf(1), stop, framesDone);
    }
    for (const WorkerEnd& e : ends) {
        if (e.end == BscanEnd::Stopped) {
            result.end = BscanEnd::Stopped;
            result.cutShortAt = 0;
        } else if (e.end == BscanEnd::CutShort && result.end != BscanEnd::Stopped &&
                   (result.cutShortAt == 0 || e.cutShortAt < result.cutShortAt)) {
            result.end = BscanEnd::CutShort;
            result.cutShortAt = e.cutShortAt;
        }
    }
    return result;
}

BscanResult scanBscan(const recording::OpenRecording& rec, const BscanRequest& request,
                      const std::atomic<bool>* stop, std::atomic<int64_t>* framesDone, unsigned workers) {
    return scanBscan(rec.file(), bscanSource(rec), request, stop, framesDone, workers);
}

} // namespace pelix::bscan
