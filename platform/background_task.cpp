#include "platform/background_task.h"

namespace pelix::platform {

void BackgroundTask::cancel() {
    ++m_generation;
    if (m_stop) m_stop->store(true);
    // Every piece of work looks at its flag often, so this wait is short.
    if (m_thread.joinable()) m_thread.join();
    m_stop.reset();
    m_done = true;
}

} // namespace pelix::platform
