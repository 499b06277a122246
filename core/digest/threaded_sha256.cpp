#include "core/digest/threaded_sha256.h"

#include <system_error>
#include <utility>

namespace pelix::digest {

ThreadedSha256::ThreadedSha256(std::size_t depth)
    : m_usable(m_hash.usable()), m_depth(depth > 0 ? depth : 1) {
    try {
        m_thread = std::thread([this] { hashQueued(); });
    } catch (const std::system_error&) {
        // Hashed on the caller's thread instead: slower, the same digest.
    }
}

ThreadedSha256::~ThreadedSha256() {
    {
        std::lock_guard lock(m_mutex);
        m_end = true;
        m_queued.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable()) m_thread.join();
}

std::vector<uint8_t> ThreadedSha256::add(std::vector<uint8_t>&& bytes) {
    if (!m_thread.joinable()) {
        m_hash.add(bytes.data(), bytes.size());
        return std::move(bytes);
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_queued.size() < m_depth; });
    m_queued.push_back(std::move(bytes));
    std::vector<uint8_t> reuse;
    if (!m_hashed.empty()) {
        reuse = std::move(m_hashed.back());
        m_hashed.pop_back();
    }
    lock.unlock();
    m_changed.notify_all();
    return reuse;
}

std::string ThreadedSha256::finishHex(std::uint64_t& size) {
    if (m_thread.joinable()) {
        {
            std::lock_guard lock(m_mutex);
            m_end = true;
        }
        m_changed.notify_all();
        m_thread.join();
    }
    size = m_hash.size();
    return m_hash.finishHex();
}

void ThreadedSha256::hashQueued() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [&] { return m_end || !m_queued.empty(); });
        // At the end what is still queued is hashed (finishHex) or was dropped (the destructor).
        if (m_queued.empty()) return;
        std::vector<uint8_t> bytes = std::move(m_queued.front());
        m_queued.pop_front();
        lock.unlock();
        m_changed.notify_all();
        m_hash.add(bytes.data(), bytes.size());
        lock.lock();
        m_hashed.push_back(std::move(bytes));
    }
}

} // namespace pelix::digest
