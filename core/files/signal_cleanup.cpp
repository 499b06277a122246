#include "core/files/signal_cleanup.h"

#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace pelix::files {

namespace {

// A slot is free, being filled (the handler skips it), or holds a name.
enum SlotState : int { kFree = 0, kFilling = 1, kHeld = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    CleanupKind kind = CleanupKind::File;
    char path[PATH_MAX] = {};
};

// Three outputs with a bitmap folder each fit many times over.
constexpr std::size_t kSlots = 32;
std::array<Slot, kSlots> g_slots;
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slot states");

void removeHeld(CleanupKind kind) {
    for (Slot& slot : g_slots) {
        if (slot.state.load(std::memory_order_acquire) != kHeld || slot.kind != kind) continue;
        if (kind == CleanupKind::File)
            ::unlink(slot.path);
        else
            ::rmdir(slot.path);
    }
}

extern "C" void onEndingSignal(int signalNumber) {
    const int savedErrno = errno;
    removeHeld(CleanupKind::File);
    removeHeld(CleanupKind::Folder);
    // Die of the same signal: the parent sees what it would have seen without us.
    struct sigaction dflt {};
    dflt.sa_handler = SIG_DFL;
    sigemptyset(&dflt.sa_mask);
    ::sigaction(signalNumber, &dflt, nullptr);
    ::raise(signalNumber);
    errno = savedErrno;
}

} // namespace

void removeTemporariesOnSignals() {
    for (const int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(signalNumber, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = &onEndingSignal;
        sigemptyset(&action.sa_mask);
        // Every ending signal waits while one handler runs, so the table is walked once at a time.
        sigaddset(&action.sa_mask, SIGINT);
        sigaddset(&action.sa_mask, SIGTERM);
        sigaddset(&action.sa_mask, SIGHUP);
        ::sigaction(signalNumber, &action, nullptr);
    }
}

void removeRegisteredTemporariesNow() {
    removeHeld(CleanupKind::File);
    removeHeld(CleanupKind::Folder);
}

CleanupOnSignal::CleanupOnSignal(const std::string& path, CleanupKind kind) {
    if (path.empty() || path.size() >= PATH_MAX) return;
    for (std::size_t i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (!g_slots[i].state.compare_exchange_strong(expected, kFilling, std::memory_order_acq_rel))
            continue;
        g_slots[i].kind = kind;
        std::memcpy(g_slots[i].path, path.c_str(), path.size() + 1);
        g_slots[i].state.store(kHeld, std::memory_order_release);
        m_slot = static_cast<int>(i);
        return;
    }
}

CleanupOnSignal::~CleanupOnSignal() {
    release();
}

CleanupOnSignal::CleanupOnSignal(CleanupOnSignal&& other) noexcept
    : m_slot(std::exchange(other.m_slot, -1)) {}

CleanupOnSignal& CleanupOnSignal::operator=(CleanupOnSignal&& other) noexcept {
    if (this != &other) {
        release();
        m_slot = std::exchange(other.m_slot, -1);
    }
    return *this;
}

void CleanupOnSignal::release() {
    if (m_slot < 0) return;
    g_slots[static_cast<std::size_t>(m_slot)].state.store(kFree, std::memory_order_release);
    m_slot = -1;
}

} // namespace pelix::files
