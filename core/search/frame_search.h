// The search over a whole recording: every frame's sample block goes through
// one FrameTest, read straight from the file in large sequential blocks.
//
// The frames are cut into chunks of about a mebibyte that worker threads take
// in turn (two or more workers for a large recording), each with its own
// buffer and its own handle on the file, so the search reads the recording
// while the window stays with its user. Matches are handed out in frame order
// as the chunks before them finish; a cancelled search keeps the matches of
// the frames tested in order so far. A frame whose record (or record pair) the
// end of the file cuts short never matches: it cannot be shown whole.
#pragma once

#include "core/recording/recording_file.h"
#include "core/search/frame_test.h"
#include "core/search/search_limits.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace pelix::recording {
class OpenRecording;
}

namespace pelix::search {

class FrameSearch {
  public:
    // `workers` 0 picks one for a small recording and the machine's cores
    // (at most four) for a large one.
    FrameSearch(const recording::OpenRecording& recording, const SearchLimits& limits, unsigned workers = 0);
    ~FrameSearch(); // cancels and waits for the workers
    FrameSearch(const FrameSearch&) = delete;
    FrameSearch& operator=(const FrameSearch&) = delete;

    void start();
    // Stops the workers at their next chunk; what is tested in order so far stays.
    void cancel();
    // Waits up to `timeout` for the workers; true once all have ended.
    bool waitFor(std::chrono::milliseconds timeout);
    // start() and wait for the end.
    void run();

    bool finished() const;
    bool cancelled() const { return m_cancel.load(std::memory_order_relaxed); }
    int32_t frameCount() const { return m_frameCount; }
    unsigned workerCount() const { return m_workers; }

    // For one consumer thread: appends the matches of the chunks finished in
    // frame order since the last call, and returns how many it appended.
    std::size_t collect(std::vector<int32_t>& out);
    // Frames 1 .. framesTested() are tested and their matches collected.
    int32_t framesTested() const;

  private:
    struct Chunk {
        std::vector<int32_t> matches;
        std::atomic<bool> done{false};
    };
    void work();
    void searchChunk(int64_t chunk, std::vector<uint8_t>& buffer);
    int32_t firstFrameOf(int64_t chunk) const;
    int32_t lastFrameOf(int64_t chunk) const;

    recording::RecordingFile m_file;
    FrameTest m_test;
    int64_t m_firstRecord = 0; // byte offset of frame 1
    int64_t m_stride = 0;      // bytes per frame: one record, or a pair for envelope recordings
    int32_t m_frameCount = 0;
    int32_t m_framesPerChunk = 0;
    int64_t m_chunkCount = 0;
    unsigned m_workers = 1;

    std::unique_ptr<Chunk[]> m_chunks;
    std::atomic<int64_t> m_nextChunk{0};
    std::atomic<bool> m_cancel{false};
    std::vector<std::thread> m_threads;
    mutable std::mutex m_mutex;
    std::condition_variable m_ended;
    unsigned m_running = 0;
    bool m_started = false;
    int64_t m_collected = 0; // chunks handed out by collect()
};

} // namespace pelix::search
