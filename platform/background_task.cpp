#include "platform/background_task.h"

#include <QCoreApplication>
#include <QEvent>

namespace pelix::platform {

void BackgroundTask::cancel() {
    ++m_generation;
    if (m_stop) m_stop->store(true);
    // Every piece of work looks at its flag often, so this wait is short.
    if (m_thread.joinable()) m_thread.join();
    m_stop.reset();
    m_done = true;
}

void BackgroundTask::wait() {
    if (!m_thread.joinable()) return;
    m_thread.join();
    // The result was posted to the owner just before the thread ended.
    QCoreApplication::sendPostedEvents(m_owner, QEvent::MetaCall);
}

} // namespace pelix::platform
