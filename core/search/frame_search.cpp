#include "core/search/frame_search.h"

#include "core/recording/open_recording.h"

#include <algorithm>

namespace pelix::search {

namespace {

constexpr int64_t kChunkBytes = 1 << 20;
// Below this a second worker costs more than it gains.
constexpr int64_t kLargeRecordingBytes = 32LL << 20;
constexpr unsigned kMostWorkers = 4;

} // namespace

FrameSearch::FrameSearch(const recording::OpenRecording& recording, const SearchLimits& limits,
                         unsigned workers)
    : m_file(recording.file().duplicate()), m_test(recording.header().Rectification, limits) {
    m_frameCount = std::max<int32_t>(recording.FrameCount(), 0);
    m_firstRecord = recording.recordOffset(1);
    m_stride = recording.frameStride();
    m_framesPerChunk = static_cast<int32_t>(kChunkBytes / m_stride);
    m_chunkCount = (static_cast<int64_t>(m_frameCount) + m_framesPerChunk - 1) / m_framesPerChunk;
    if (workers == 0) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        workers = static_cast<int64_t>(m_frameCount) * m_stride >= kLargeRecordingBytes
                      ? std::min(cores, kMostWorkers)
                      : 1u;
    }
    m_workers = static_cast<unsigned>(std::clamp<int64_t>(m_chunkCount, 1, workers));
    m_chunks = std::make_unique<Chunk[]>(static_cast<std::size_t>(m_chunkCount));
}

FrameSearch::~FrameSearch() {
    cancel();
    for (std::thread& t : m_threads)
        t.join();
}

void FrameSearch::start() {
    std::lock_guard lock(m_mutex);
    if (m_started) return;
    m_started = true;
    m_running = m_workers;
    for (unsigned i = 0; i < m_workers; ++i)
        m_threads.emplace_back([this] { work(); });
}

void FrameSearch::cancel() {
    m_cancel.store(true, std::memory_order_relaxed);
}

bool FrameSearch::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_ended.wait_for(lock, timeout, [this] { return m_started && m_running == 0; });
}

void FrameSearch::run() {
    start();
    std::unique_lock lock(m_mutex);
    m_ended.wait(lock, [this] { return m_running == 0; });
}

bool FrameSearch::finished() const {
    std::lock_guard lock(m_mutex);
    return m_started && m_running == 0;
}

void FrameSearch::work() {
    std::vector<uint8_t> buffer;
    for (;;) {
        if (m_cancel.load(std::memory_order_relaxed)) break;
        const int64_t chunk = m_nextChunk.fetch_add(1, std::memory_order_relaxed);
        if (chunk >= m_chunkCount) break;
        searchChunk(chunk, buffer);
        m_chunks[static_cast<std::size_t>(chunk)].done.store(true, std::memory_order_release);
    }
    std::lock_guard lock(m_mutex);
    --m_running;
    m_ended.notify_all();
}

int32_t FrameSearch::firstFrameOf(int64_t chunk) const {
    return static_cast<int32_t>(chunk * m_framesPerChunk + 1);
}

int32_t FrameSearch::lastFrameOf(int64_t chunk) const {
    return static_cast<int32_t>(std::min<int64_t>((chunk + 1) * m_framesPerChunk, m_frameCount));
}

void FrameSearch::searchChunk(int64_t chunk, std::vector<uint8_t>& buffer) {
    if (!m_test.canMatch()) return;
    const int32_t first = firstFrameOf(chunk);
    const int64_t frames = static_cast<int64_t>(lastFrameOf(chunk)) - first + 1;
    const auto wanted = static_cast<std::size_t>(frames * m_stride);
    if (buffer.size() < wanted) buffer.resize(wanted);
    // The file may have shrunk since it was opened: what is missing is missing.
    const std::size_t got =
        m_file.readAt(m_firstRecord + (static_cast<int64_t>(first) - 1) * m_stride, buffer.data(), wanted);
    std::vector<int32_t>& matches = m_chunks[static_cast<std::size_t>(chunk)].matches;
    for (int64_t i = 0; i < frames; ++i) {
        if (static_cast<std::size_t>((i + 1) * m_stride) > got) break; // cut short by the end of the file
        const uint8_t* samples = buffer.data() + i * m_stride + recording::kFrameHeaderBytes;
        if (m_test.matches(samples)) matches.push_back(static_cast<int32_t>(first + i));
    }
}

std::size_t FrameSearch::collect(std::vector<int32_t>& out) {
    std::size_t added = 0;
    while (m_collected < m_chunkCount &&
           m_chunks[static_cast<std::size_t>(m_collected)].done.load(std::memory_order_acquire)) {
        Chunk& c = m_chunks[static_cast<std::size_t>(m_collected)];
        out.insert(out.end(), c.matches.begin(), c.matches.end());
        added += c.matches.size();
        std::vector<int32_t>().swap(c.matches);
        ++m_collected;
    }
    return added;
}

int32_t FrameSearch::framesTested() const {
    return m_collected >= m_chunkCount ? m_frameCount : static_cast<int32_t>(m_collected * m_framesPerChunk);
}

} // namespace pelix::search
