// Background work: its result arrives on the owner's thread, a newer start or a
// cancel abandons the running work (told to stop, and its result never
// arrives), and its thread, with what it starts, yields to the window's.
#include "platform/background_task.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <optional>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace pelix::platform {
namespace {

template <typename Done> bool waitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

int niceOfThisThread() {
    return ::getpriority(PRIO_PROCESS, static_cast<id_t>(::syscall(SYS_gettid)));
}

TEST(BackgroundTaskTest, TheResultArrivesOnTheOwnersThreadAndANewerStartAbandonsTheOlder) {
    QObject owner;
    BackgroundTask task(&owner);
    std::atomic<bool> firstStopped{false};
    std::atomic<bool> firstStarted{false};
    int delivered = 0;
    int value = 0;
    QThread* deliveredOn = nullptr;
    task.start(
        [&](const std::atomic<bool>& stop) {
            firstStarted = true;
            while (!stop.load())
                std::this_thread::yield();
            firstStopped = true;
            return 1;
        },
        [&](int v) {
            ++delivered;
            value = v;
        });
    ASSERT_TRUE(waitFor([&] { return firstStarted.load(); }));
    EXPECT_TRUE(task.running());
    task.start([](const std::atomic<bool>&) { return 2; },
               [&](int v) {
                   ++delivered;
                   value = v;
                   deliveredOn = QThread::currentThread();
               });
    EXPECT_TRUE(firstStopped);
    ASSERT_TRUE(waitFor([&] { return delivered > 0; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(deliveredOn, owner.thread());
    EXPECT_FALSE(task.running());
}

TEST(BackgroundTaskTest, ACancelledResultNeverArrives) {
    QObject owner;
    BackgroundTask task(&owner);
    bool delivered = false;
    std::atomic<bool> done{false};
    task.start(
        [&](const std::atomic<bool>&) {
            done = true;
            return 3;
        },
        [&](int) { delivered = true; });
    while (!done)
        std::this_thread::yield();
    // The work has ended and its delivery may already be queued: a cancel still drops it.
    task.cancel();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 100)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(delivered);
    EXPECT_FALSE(task.running());
}

TEST(BackgroundTaskTest, AWaitDeliversBeforeItReturns) {
    QObject owner;
    BackgroundTask task(&owner);
    int value = 0;
    task.start([](const std::atomic<bool>&) { return 5; }, [&](int v) { value = v; });
    task.wait();
    EXPECT_EQ(value, 5);
    EXPECT_FALSE(task.running());
    task.wait(); // nothing running: returns at once
}

#if defined(__linux__)
TEST(BackgroundTaskTest, OnlyTheWorkAndWhatItStartsYieldToTheWindow) {
    const int windowNice = niceOfThisThread();
    QObject owner;
    BackgroundTask task(&owner);
    struct Nices {
        int work = 0, started = 0;
    };
    std::optional<Nices> seen;
    task.start(
        [](const std::atomic<bool>&) {
            Nices n;
            n.work = niceOfThisThread();
            std::thread([&] { n.started = niceOfThisThread(); }).join();
            return n;
        },
        [&](Nices n) { seen = n; });
    ASSERT_TRUE(waitFor([&] { return seen.has_value(); }));
    // Background work runs at a niceness of 10 (or the process's own, when that is lower still).
    EXPECT_EQ(seen->work, std::max(windowNice, 10));
    EXPECT_EQ(seen->started, seen->work);
    EXPECT_EQ(niceOfThisThread(), windowNice) << "the window's own thread keeps its priority";
}
#endif

} // namespace
} // namespace pelix::platform
