// "Apply to all frames" on a generated 1 GiB recording in the window, headless:
// how long the whole re-measure takes, and the longest the event loop went
// without answering while it ran: a 5 ms timer's longest gap between two ticks
// in wall time (which a loaded machine stretches by whatever else it runs) and
// in the user-interface thread's own processor time (what the window spent
// between two ticks, whatever the load), beside `cat` of the same cached file,
// and the same ticks for 2 s before the run (the machine's own gaps).
// Between events the thread waits in its event loop as the program does: a loop
// that spun would take a core from the workers and measure itself.
#include "bench/support/large_recording.h"
#include "player/display/frame_display.h"
#include "player/overview/overview_window.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <ctime>

namespace {

double threadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// The window's event loop, as the running program has it: waiting for events, not spinning,
// so the window's thread takes the processor only for what it does. `done` is looked at every
// few milliseconds; `ms` > 0 runs the loop that long instead.
template <typename Done> void runEventLoopUntil(Done done, int ms = 0) {
    QEventLoop loop;
    QTimer poll;
    QElapsedTimer clock;
    clock.start();
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (ms > 0 ? clock.elapsed() >= ms : static_cast<bool>(done())) loop.quit();
    });
    poll.start();
    if (ms > 0 || !static_cast<bool>(done())) loop.exec();
}

const std::string& largeRecording() {
    static const std::string path = pelix::bench::generateLargeRecording("apply_all.bin", 3);
    return path;
}

void BM_CatLargeRecording(benchmark::State& state) {
    pelix::bench::catToDevNull(state, largeRecording());
}
BENCHMARK(BM_CatLargeRecording)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ApplyToAllFramesInTheWindow(benchmark::State& state) {
    const std::string& path = largeRecording();
    if (path.empty()) return state.SkipWithError("no recording");
    pelix::bench::warmCache(path);
    frmPlayer window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    window.show();
    if (window.openRecording(QString::fromStdString(path)) != pelix::player::OpenResult::Opened)
        return state.SkipWithError("not opened");
    pelix::overview::OverviewWindow& overview = window.overview();
    overview.setAttribute(Qt::WA_DontShowOnScreen);
    window.toggleOverview();
    runEventLoopUntil([&] { return overview.strip().series() != nullptr; });
    const pelix::frame::GateView& gates = window.display().view().gates;
    pelix::player::DraggedGates moved;
    moved.gateA = pelix::frame::DraggedGate{std::round(gates.fGateAStart + 1.0F), 20};
    overview.setDraggedGates(moved);

    double longestGapMs = 0.0;
    double longestBusyMs = 0.0;
    double finishBusyMs = 0.0;
    int64_t gapsOver50 = 0;
    double remeasureMs = 0.0;
    double idleGapMs = 0.0;
    int64_t idleGapsOver50 = 0;
    for (auto _ : state) {
        overview.showRecordedValues();
        // The strip's redraw with the recorded series and its indications are not the run's.
        runEventLoopUntil([] { return true; }, 1000);
        QElapsedTimer sinceTick;
        double cpuAtTick = 0.0;
        QTimer ticks;
        ticks.setInterval(5);
        QObject::connect(&ticks, &QTimer::timeout, [&] {
            const double gap = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6;
            const double cpu = threadCpuMs();
            longestGapMs = std::max(longestGapMs, gap);
            // The stretch in which the result arrives also redraws the strip and lists the indications.
            if (overview.remeasured())
                finishBusyMs = std::max(finishBusyMs, cpu - cpuAtTick);
            else
                longestBusyMs = std::max(longestBusyMs, cpu - cpuAtTick);
            gapsOver50 += gap > 50.0;
            cpuAtTick = cpu;
            sinceTick.restart();
        });
        // The same ticks with nothing running first: what the machine's other work alone does to the gaps.
        sinceTick.start();
        ticks.start();
        runEventLoopUntil([] { return true; }, 2000);
        idleGapMs = longestGapMs;
        idleGapsOver50 = gapsOver50;
        longestGapMs = 0.0;
        gapsOver50 = 0;
        longestBusyMs = 0.0;
        QElapsedTimer run;
        run.start();
        overview.applyToAllFrames();
        sinceTick.restart();
        cpuAtTick = threadCpuMs();
        runEventLoopUntil([&] { return overview.remeasured(); });
        remeasureMs = static_cast<double>(run.elapsed());
        // A few more ticks: the redraw with the new series and the indications found on it.
        runEventLoopUntil([] { return true; }, 2000);
        ticks.stop();
    }
    state.counters["longest_gap_ms"] = longestGapMs;
    state.counters["longest_busy_ms"] = longestBusyMs;
    state.counters["result_busy_ms"] = finishBusyMs;
    state.counters["remeasure_ms"] = remeasureMs;
    state.counters["idle_longest_gap_ms"] = idleGapMs;
    state.counters["idle_gaps_over_50ms"] = static_cast<double>(idleGapsOver50);
    state.counters["gaps_over_50ms"] = static_cast<double>(gapsOver50);
    state.counters["frames"] = static_cast<double>(window.session().FrameCount());
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ApplyToAllFramesInTheWindow)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
