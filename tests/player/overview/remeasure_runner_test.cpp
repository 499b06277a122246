// The runner behind "Apply to all frames" on its own: what its worker threads
// measure reaches the window's thread whole and in order (against the command
// line's whole-recording re-measure, DGS dB-to-reference readings included),
// a cancel ends the run at once with what was handed over, and a run
// abandoned or destroyed part way lets go of everything it used.
#include "core/frame/ordered_batches.h"
#include "core/indications/remeasured_amplitudes.h"
#include "core/overview/overview_series.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/open_recording.h"
#include "player/display_test_support.h"
#include "player/overview/remeasure_runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace pelix::overview {
namespace {

struct Sample {
    const char* name;
    const char* file;
    frame::DraggedGate gateA;
};

class RemeasureRunnerTest : public ::testing::TestWithParam<Sample> {
  protected:
    void SetUp() override {
        player::test::ensureApplication();
        path = std::string(PELIX_SAMPLES_DIR) + "/" + GetParam().file;
        recording::OpenOutcome opened =
            recording::OpenRecording::open(path, recording::OpenRecording::FlagScan::Skip);
        ASSERT_TRUE(opened.recording) << opened.message;
        rec = std::move(opened.recording);
        recorded =
            std::make_shared<OverviewSeries>(scanOverview(rec->file(), recording::frameRecordLayout(*rec)));
        gates.gateA = GetParam().gateA;
        runner = std::make_unique<RemeasureRunner>();
        QObject::connect(runner.get(), &RemeasureRunner::finished,
                         [this](std::shared_ptr<const RemeasuredSeries> r) { result = std::move(r); });
    }

    bool start() {
        std::string error;
        const bool started = runner->start(QString::fromStdString(path), gates, recorded, error);
        EXPECT_TRUE(started) << error;
        return started;
    }
    template <typename Done> static bool waitFor(Done done) {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 60000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }
    // The command line's re-measure of gate A over the whole recording, on every core.
    indications::RemeasuredAmplitudes reference() const {
        return indications::remeasureAmplitudes(*rec, Gate::A, 1, recorded->frameCount(), gates.gateA,
                                                std::nullopt, true, frame::defaultWorkerCount());
    }
    static void expectSameDecibels(float shown, std::optional<double> wanted, int32_t frame) {
        if (!wanted) {
            EXPECT_TRUE(std::isnan(shown)) << "frame " << frame;
            return;
        }
        EXPECT_NEAR(shown, *wanted, 0.051) << "frame " << frame;
    }

    std::string path;
    std::unique_ptr<recording::OpenRecording> rec;
    std::shared_ptr<const OverviewSeries> recorded;
    player::DraggedGates gates;
    std::unique_ptr<RemeasureRunner> runner;
    std::shared_ptr<const RemeasuredSeries> result;
};

TEST_P(RemeasureRunnerTest, EveryFrameArrivesAsTheCommandLineMeasuresIt) {
    ASSERT_TRUE(start());
    EXPECT_TRUE(runner->running());
    ASSERT_TRUE(waitFor([&] { return result != nullptr; }));
    EXPECT_FALSE(runner->running());
    ASSERT_EQ(result->end, RemeasuredSeries::End::Done);

    const indications::RemeasuredAmplitudes want = reference();
    ASSERT_EQ(want.series.size(), recorded->frameCount());
    const bool readsDecibels = !result->dbToReferenceA.empty();
    int32_t withDecibels = 0;
    for (int32_t f = 1; f <= recorded->frameCount(); ++f) {
        ASSERT_EQ(result->series->amplitude(Gate::A, f), want.series.amplitude(f)) << "frame " << f;
        ASSERT_EQ(result->series->amplitude(Gate::B, f), recorded->amplitude(Gate::B, f)) << "frame " << f;
        if (readsDecibels) {
            expectSameDecibels(result->dbToReferenceA[static_cast<std::size_t>(f - 1)],
                               want.series.dbToReference(f), f);
            withDecibels += want.series.dbToReference(f).has_value();
        }
    }
    EXPECT_TRUE(result->dbToReferenceB.empty()) << "gate B was not moved";
    if (std::string(GetParam().file).rfind("DGS", 0) == 0) {
        EXPECT_TRUE(readsDecibels);
        EXPECT_GT(withDecibels, 0) << "a DGS recording's moved gate reads dB to reference";
    }
}

TEST_P(RemeasureRunnerTest, ACancelEndsTheRunAtOnceWithWhatWasHandedOver) {
    runner->setSliceMs(0); // every frame handed over on its own
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitFor([&] { return runner->measuredFrames() >= 5; }));
    runner->cancel();
    ASSERT_NE(result, nullptr) << "the result comes before cancel() returns";
    EXPECT_FALSE(runner->running());
    ASSERT_EQ(result->end, RemeasuredSeries::End::Cancelled);
    ASSERT_GT(result->stoppedAt, 5);
    const indications::RemeasuredAmplitudes want = reference();
    for (int32_t f = 1; f <= recorded->frameCount(); ++f) {
        const std::optional<int32_t> shown = result->series->amplitude(Gate::A, f);
        ASSERT_EQ(shown, f < result->stoppedAt ? want.series.amplitude(f) : std::nullopt) << "frame " << f;
    }
    // Calls still queued for the stopped run change nothing.
    const std::shared_ptr<const RemeasuredSeries> kept = result;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(result, kept);
}

TEST_P(RemeasureRunnerTest, AnAbandonedRunLeavesNothingBehindAndANewOneRunsWhole) {
    runner->setSliceMs(0);
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitFor([&] { return runner->measuredFrames() >= 3; }));
    runner->abandon();
    EXPECT_FALSE(runner->running());
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(result, nullptr) << "an abandoned run brings no result";

    // Started over with the workers' hand-over at its usual pace: the whole series, once.
    runner->setSliceMs(RemeasureRunner::kSliceMs);
    int finishedCount = 0;
    QObject::connect(runner.get(), &RemeasureRunner::finished, [&] { ++finishedCount; });
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitFor([&] { return result != nullptr; }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(finishedCount, 1);
    EXPECT_EQ(result->end, RemeasuredSeries::End::Done);
    EXPECT_EQ(result->series->amplitude(Gate::A, recorded->frameCount()),
              reference().series.amplitude(recorded->frameCount()));

    // Destroyed while its workers wait for the window: they are stopped and joined, and nothing
    // queued for it runs after it is gone.
    result.reset();
    runner->setSliceMs(0);
    ASSERT_TRUE(start());
    ASSERT_TRUE(waitFor([&] { return runner->measuredFrames() >= 2; }));
    runner.reset();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(result, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Recordings, RemeasureRunnerTest,
                         ::testing::Values(Sample{"Demo", "DEMO.BIN", {12.0F, 20}},
                                           Sample{"DgsHole", "DGS_HOLE_LISTED_PROBE.BIN", {10.0F, 30}}),
                         [](const ::testing::TestParamInfo<Sample>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace pelix::overview
