// Playback of the demo recording (50 frames/s) at the fastest speed, with the
// event loop running for real: how many frames the timer steps through per
// second, how many of them the A-scan control actually paints, and how long a
// click on Pause waits before it is handled.
#include "platform/track_bar.h"
#include "player/ui/frm_player.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

// The program's main() normally provides the application; this one covers a main() that does not.
void ensureApplication() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "bench_player";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv); // lives until the process ends
}

class PaintCounter : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

void runEventLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void clickLikeTheUser(QPushButton* button) {
    const QPointF centre = QRectF(button->rect()).center();
    const QPointF global = button->mapToGlobal(centre);
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, centre, global,
                                                        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, centre, global,
                                                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
}

void BM_PlaybackAtFastestSpeed(benchmark::State& state) {
    ensureApplication();
    frmPlayer window;
    window.show();
    runEventLoop(300);
    if (window.openRecording(QStringLiteral(PELIX_SAMPLES_DIR "/PLAIN_SCAN.BIN")) !=
        pelix::player::OpenResult::Opened) {
        state.SkipWithError("PLAIN_SCAN.BIN did not open");
        return;
    }
    auto* speed = window.findChild<pelix::platform::TrackBar*>(QStringLiteral("SliderSpeed"));
    auto* slider = window.findChild<pelix::platform::TrackBar*>(QStringLiteral("Slider"));
    auto* play = window.findChild<QPushButton*>(QStringLiteral("cmdPlayStop"));
    QWidget* ascan = window.findChild<QWidget*>(QStringLiteral("Ascan"));
    PaintCounter painted;
    ascan->installEventFilter(&painted);

    double stepsPerSecond = 0;
    double paintsPerSecond = 0;
    double pauseLatencyMs = 0;
    for (auto _ : state) {
        slider->setValue(1);
        speed->setValue(4);
        int steps = 0;
        const auto counting = QObject::connect(slider, &pelix::platform::TrackBar::Change, [&] { ++steps; });
        painted.paints = 0;
        play->click();
        QElapsedTimer clock;
        clock.start();
        runEventLoop(static_cast<int>(state.range(0)));
        const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
        stepsPerSecond = steps / seconds;
        paintsPerSecond = painted.paints / seconds;
        QObject::disconnect(counting);

        // Pause as the user does: a press and a release queued behind whatever playback has pending.
        QElapsedTimer latency;
        bool paused = false;
        const auto pausing = QObject::connect(play, &QPushButton::clicked, [&] {
            pauseLatencyMs = static_cast<double>(latency.nsecsElapsed()) / 1e6;
            paused = true;
        });
        latency.start();
        clickLikeTheUser(play);
        while (!paused && latency.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QObject::disconnect(pausing);
        if (!paused) state.SkipWithError("Pause was never handled");
    }
    state.counters["frames_per_second"] = stepsPerSecond;
    state.counters["paints_per_second"] = paintsPerSecond;
    state.counters["pause_latency_ms"] = pauseLatencyMs;
}
BENCHMARK(BM_PlaybackAtFastestSpeed)->Arg(3000)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
