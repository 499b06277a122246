// One piece of work on a thread of its own whose result is delivered on the
// thread of the object that owns it, through its event loop, so the window
// never waits for it. Starting again, cancel() or destroying the task abandons
// the running work: it is told to stop (the flag it is handed) and waited for,
// and its result never arrives. The thread runs at background priority.
#pragma once

#include "platform/background_priority.h"
#include "platform/export.h"

#include <QMetaObject>
#include <QObject>

#include <atomic>
#include <memory>
#include <thread>
#include <utility>

namespace pelix::platform {

class PELIX_PLATFORM_API BackgroundTask {
  public:
    // `owner` receives the results (its thread delivers them) and must outlive the task,
    // which it does when the task is one of its members.
    explicit BackgroundTask(QObject* owner) : m_owner(owner) {}
    ~BackgroundTask() { cancel(); }
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;

    // Runs `work(stop)` on a thread of its own (`stop` turns true when the work is abandoned),
    // then `deliver(result)` on the owner's thread unless abandoned meanwhile.
    template <class Work, class Deliver> void start(Work work, Deliver deliver) {
        cancel();
        auto stop = std::make_shared<std::atomic<bool>>(false);
        m_stop = stop;
        m_done = false;
        const quint64 generation = m_generation;
        m_thread = std::thread(
            [this, stop, generation, work = std::move(work), deliver = std::move(deliver)]() mutable {
                lowerToBackgroundPriority();
                auto result = work(static_cast<const std::atomic<bool>&>(*stop));
                if (stop->load()) return;
                // Queued to the owner: dropped by Qt if the owner is gone by then.
                QMetaObject::invokeMethod(
                    m_owner,
                    [this, generation, deliver, result = std::move(result)]() mutable {
                        if (generation != m_generation) return;
                        m_done = true;
                        deliver(std::move(result));
                    },
                    Qt::QueuedConnection);
            });
    }
    // Abandons the running work, if any, and waits for its thread.
    void cancel();
    // Waits for the running work to end and delivers its result before returning.
    void wait();
    bool running() const { return m_thread.joinable() && !m_done; }

  private:
    QObject* m_owner;
    std::thread m_thread;
    std::shared_ptr<std::atomic<bool>> m_stop;
    bool m_done = true;
    quint64 m_generation = 0;
};

} // namespace pelix::platform
