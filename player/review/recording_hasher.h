// The recording's SHA-256, computed on a thread of its own so that opening a
// large recording never waits for it. The result comes back queued to the
// thread that owns the hasher; a newer start, a stop or the destructor stops
// and joins the thread first, and a result nobody asked for any more is dropped.
#pragma once

#include "core/review/review_store.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>

namespace pelix::player {

class RecordingHasher : public QObject {
    Q_OBJECT
  public:
    using Done = std::function<void(review::IdentifiedRecording)>;
    explicit RecordingHasher(Done done, QObject* parent = nullptr);
    ~RecordingHasher() override;

    // Starts hashing `path`, stopping any hash still running.
    void start(const std::string& path);
    // Stops at the next block and joins; the result is dropped.
    void stop();
    // Lets the running hash run to its end and hands its result to the caller
    // instead of the queued delivery; nothing when none runs.
    std::optional<review::IdentifiedRecording> finish();
    bool running() const { return m_thread.joinable(); }

  private:
    void deliver(std::uint64_t generation);
    review::IdentifiedRecording take();

    Done m_done;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::uint64_t m_generation = 0;
    review::IdentifiedRecording m_result; // written by the thread, read after the join
};

} // namespace pelix::player
