// Frame records handed out in increasing frame order from large positioned
// reads of the file, so a pass over the recording costs one system call a
// block rather than one a frame. Each block holds whole records only.
#pragma once

#include "core/recording/frame_header_scan.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace pelix::bscan {

class FrameBlocks {
  public:
    // Frames up to `last` of `layout` in `file`. A set `stop` ends the reading
    // at the next block; `framesDone` grows by the whole frames read from
    // `countFrom` on (a frame another reader counts is not counted twice).
    FrameBlocks(const recording::RecordingFile& file, const recording::FrameRecordLayout& layout,
                int32_t last, const std::atomic<bool>* stop, std::atomic<int64_t>* framesDone,
                int32_t countFrom);

    // The record (or record pair) of `frame`, asked in increasing order; null
    // when the end of the file cuts it short or the stop flag is set.
    const uint8_t* record(int32_t frame);
    bool stopped() const { return m_stopped; }

  private:
    bool readBlockAt(int32_t frame);

    const recording::RecordingFile& m_file;
    recording::FrameRecordLayout m_layout;
    int32_t m_last = 0;
    const std::atomic<bool>* m_stop = nullptr;
    std::atomic<int64_t>* m_framesDone = nullptr;
    int32_t m_countFrom = 0;
    int32_t m_framesPerBlock = 1;
    std::vector<uint8_t> m_block;
    int32_t m_blockFirst = 0;  // first frame in the block; 0: nothing read yet
    int32_t m_blockFrames = 0; // frames the block was asked for
    int32_t m_wholeFrames = 0; // of those, the ones the file held whole
    bool m_stopped = false;
};

} // namespace pelix::bscan
