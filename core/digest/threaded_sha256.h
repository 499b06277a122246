// A SHA-256 taken on a thread of its own from bytes handed over in order, so
// that a pass which reads a file for another purpose hashes it on the side:
// the reader goes on decoding while another core hashes what it read.
#pragma once

#include "core/digest/sha256.h"

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace pelix::digest {

class ThreadedSha256 {
  public:
    // At most `depth` handed-over buffers wait to be hashed; a hand-over beyond that waits.
    explicit ThreadedSha256(std::size_t depth = 4);
    // Abandons what is not hashed yet.
    ~ThreadedSha256();
    ThreadedSha256(const ThreadedSha256&) = delete;
    ThreadedSha256& operator=(const ThreadedSha256&) = delete;

    bool usable() const { return m_usable; }
    // Hashes all of `bytes` after what was handed over before, and gives back a buffer
    // already hashed (or an empty one) to fill next: buffers go round, so a long pass
    // allocates only its first few. What the returned buffer holds is stale.
    std::vector<uint8_t> add(std::vector<uint8_t>&& bytes);
    // Waits for everything handed over and ends the hash: its 64 hexadecimal digits
    // (empty when not usable) and, in `size`, the bytes hashed.
    std::string finishHex(std::uint64_t& size);

  private:
    void hashQueued();

    Sha256 m_hash;
    bool m_usable;
    std::size_t m_depth;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::vector<uint8_t>> m_queued;
    std::vector<std::vector<uint8_t>> m_hashed;
    bool m_end = false;
    std::thread m_thread; // not started when the system refuses a thread: hashed as handed over
};

} // namespace pelix::digest
