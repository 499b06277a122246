#include "core/bscan/frame_blocks.h"

#include <algorithm>

namespace pelix::bscan {

namespace {
// Large enough that the system call costs nothing beside the copy, small
// enough to stay in the processor's second-level cache while it is scanned.
constexpr int64_t kBlockBytes = 512 * 1024;
} // namespace

FrameBlocks::FrameBlocks(const recording::RecordingFile& file, const recording::FrameRecordLayout& layout,
                         int32_t last, const std::atomic<bool>* stop, std::atomic<int64_t>* framesDone,
                         int32_t countFrom)
    : m_file(file), m_layout(layout), m_last(std::min(last, layout.frameCount)), m_stop(stop),
      m_framesDone(framesDone), m_countFrom(countFrom) {
    if (m_layout.stride > 0)
        m_framesPerBlock = static_cast<int32_t>(std::max<int64_t>(1, kBlockBytes / m_layout.stride));
}

const uint8_t* FrameBlocks::record(int32_t frame) {
    if (frame < 1 || frame > m_last || m_stopped) return nullptr;
    const bool inBlock = m_blockFirst > 0 && frame >= m_blockFirst && frame < m_blockFirst + m_blockFrames;
    if (!inBlock && !readBlockAt(frame)) return nullptr;
    const int32_t i = frame - m_blockFirst;
    if (i >= m_wholeFrames) return nullptr; // cut short by the end of the file
    return m_block.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(m_layout.stride);
}

bool FrameBlocks::readBlockAt(int32_t frame) {
    if (m_stop && m_stop->load(std::memory_order_relaxed)) {
        m_stopped = true;
        return false;
    }
    if (m_layout.stride <= 0) return false;
    const int32_t frames = std::min(m_framesPerBlock, m_last - frame + 1);
    const auto wanted = static_cast<std::size_t>(frames) * static_cast<std::size_t>(m_layout.stride);
    if (m_block.size() < wanted) m_block.resize(wanted);
    // The file may have shrunk since it was opened: what is missing is missing.
    const std::size_t got =
        m_file.readAt(m_layout.firstRecord + (int64_t{frame} - 1) * m_layout.stride, m_block.data(), wanted);
    m_blockFirst = frame;
    m_blockFrames = frames;
    m_wholeFrames = static_cast<int32_t>(got / static_cast<std::size_t>(m_layout.stride));
    if (m_framesDone) {
        const int32_t counted = std::max(frame, m_countFrom);
        const int32_t end = frame + m_wholeFrames; // one past the last whole frame
        if (end > counted) m_framesDone->fetch_add(end - counted, std::memory_order_relaxed);
    }
    return true;
}

} // namespace pelix::bscan
