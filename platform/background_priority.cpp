#include "platform/background_priority.h"

#if defined(__linux__)
#include <cerrno>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

namespace pelix::platform {

namespace {
// The niceness of background work: the window's thread (0) is then weighed about ten
// times the worker's when both want the processor, and a worker alone still runs at full speed.
constexpr int kBackgroundNice = 10;
} // namespace

bool lowerToBackgroundPriority() {
#if defined(__linux__)
    // On Linux the niceness belongs to each thread (its id, not the process's), and a new
    // thread starts with its creator's.
    const auto thread = static_cast<id_t>(::syscall(SYS_gettid));
    errno = 0;
    const int current = ::getpriority(PRIO_PROCESS, thread);
    if (current == -1 && errno != 0) return false;
    if (current >= kBackgroundNice) return true;
    return ::setpriority(PRIO_PROCESS, thread, kBackgroundNice) == 0;
#else
    return false;
#endif
}

} // namespace pelix::platform
