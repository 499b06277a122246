#include "player/playback/control_guard.h"

#include <atomic>

namespace pelix::player {

namespace {
std::atomic<int> g_failures{0};
}

int controlBindingFailures() {
    return g_failures.load();
}

void reportControlBindingFailure(const char* what) {
    ++g_failures;
    qCritical("A-scan control: %s", what);
}

} // namespace pelix::player
