#include "player/review/recording_hasher.h"

#include <QMetaObject>

namespace pelix::player {

RecordingHasher::RecordingHasher(Done done, QObject* parent) : QObject(parent), m_done(std::move(done)) {}

RecordingHasher::~RecordingHasher() {
    stop();
}

void RecordingHasher::start(const std::string& path) {
    stop();
    m_stop = false;
    m_result = {};
    const std::uint64_t generation = m_generation;
    m_thread = std::thread([this, path, generation] {
        m_result = review::identifyRecording(path, &m_stop);
        // Dropped by Qt if the hasher is gone; the destructor joins before that anyway.
        QMetaObject::invokeMethod(
            this, [this, generation] { deliver(generation); }, Qt::QueuedConnection);
    });
}

void RecordingHasher::stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    ++m_generation; // a delivery still queued finds nothing to take
}

std::optional<review::IdentifiedRecording> RecordingHasher::finish() {
    if (!m_thread.joinable()) return std::nullopt;
    return take();
}

void RecordingHasher::deliver(std::uint64_t generation) {
    if (generation != m_generation || !m_thread.joinable()) return;
    review::IdentifiedRecording result = take();
    if (m_done) m_done(std::move(result));
}

review::IdentifiedRecording RecordingHasher::take() {
    m_thread.join();
    ++m_generation;
    return std::move(m_result);
}

} // namespace pelix::player
