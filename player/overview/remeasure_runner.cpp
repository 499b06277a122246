#include "player/overview/remeasure_runner.h"

#include "core/frame/gate_remeasure.h"
#include "core/frame/ordered_batches.h"
#include "core/frame/remeasure_in_order.h"
#include "core/indications/gate_readings.h"
#include "core/recording/open_recording.h"
#include "platform/background_priority.h"
#include "platform/path_bytes.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>
#include <utility>

namespace pelix::overview {

namespace {

constexpr float kNoReading = std::numeric_limits<float>::quiet_NaN();

// The dB a reading text shows, as the indications read it; NaN for "-----dB" or a reading of
// another kind.
float decibelsShown(const std::string& text) {
    const std::optional<double> value = indications::decibelsShown(text);
    return value && std::isfinite(*value) ? static_cast<float>(*value) : kNoReading;
}

// One frame as the workers measured it: the moved gates' amplitudes and dB-to-reference readings.
struct Measured {
    std::optional<int32_t> amplitudeA, amplitudeB;
    float dbA = kNoReading, dbB = kNoReading;
};

// Frames a worker measures at a time: a few milliseconds of work, a few kilobytes of results.
constexpr int32_t kBatchFrames = 256;

} // namespace

// A run on its worker threads and what they hand to the window. The coordinating thread takes the
// workers' batches in frame order and puts them in `pending`; the window's thread takes them from
// there (takeMeasured), so the series itself is only ever touched on the window's thread.
struct RemeasureRunner::Job {
    struct Chunk {
        int32_t first = 1;
        std::vector<Measured> frames;
    };
    std::unique_ptr<recording::OpenRecording> recording;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable taken;
    std::deque<Chunk> pending;
    bool stop = false;
    bool done = false;
    bool wakeUpPosted = false;
    frame::RemeasureOutcome outcome;
    std::string failure;

    // Hands `chunk` over; waits while the window has `limit` chunks not yet taken. False once stopped.
    bool handOver(RemeasureRunner* runner, Chunk&& chunk, std::size_t limit) {
        std::unique_lock lock(mutex);
        if (stop) return false;
        pending.push_back(std::move(chunk));
        wakeUp(runner);
        taken.wait(lock, [&] { return stop || pending.size() < limit; });
        return !stop;
    }
    // Called with the mutex held: one queued call at a time brings the window's thread to the chunks.
    void wakeUp(RemeasureRunner* runner) {
        if (wakeUpPosted) return;
        wakeUpPosted = true;
        // The runner outlives the thread (stopWorkers joins it), and a call still queued when the
        // runner goes is dropped with it.
        QMetaObject::invokeMethod(runner, &RemeasureRunner::takeMeasured, Qt::QueuedConnection);
    }
};

RemeasureRunner::RemeasureRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const RemeasuredSeries>>();
}

RemeasureRunner::~RemeasureRunner() {
    abandon();
}

bool RemeasureRunner::start(const QString& path, const player::DraggedGates& gates,
                            std::shared_ptr<const OverviewSeries> recorded, std::string& error) {
    abandon();
    if (!recorded || recorded->frameCount() < 1 || !gates.any()) {
        error = "There is nothing to re-measure.";
        return false;
    }
    recording::OpenOutcome opened =
        recording::OpenRecording::open(platform::pathToBytes(path), recording::OpenRecording::FlagScan::Skip);
    if (!opened.recording) {
        error = opened.message;
        return false;
    }
    std::optional<std::size_t> dbSlotA, dbSlotB;
    try {
        m_series = std::make_shared<OverviewSeries>(*recorded);
        m_result = std::make_shared<RemeasuredSeries>();
        const auto frames = static_cast<std::size_t>(recorded->frameCount());
        const recording::RecordingHeader& setup = opened.recording->header();
        dbSlotA = gates.gateA
                      ? indications::readingSlot(setup, Gate::A, indications::GateQuantity::DbToReference)
                      : std::nullopt;
        dbSlotB = gates.gateB
                      ? indications::readingSlot(setup, Gate::B, indications::GateQuantity::DbToReference)
                      : std::nullopt;
        if (dbSlotA) m_result->dbToReferenceA.assign(frames, kNoReading);
        if (dbSlotB) m_result->dbToReferenceB.assign(frames, kNoReading);
        m_job = std::make_unique<Job>();
    } catch (const std::bad_alloc&) {
        forget();
        error = "Not enough memory to re-measure every frame.";
        return false;
    }
    m_job->recording = std::move(opened.recording);
    m_gates = gates;
    m_next = 1;
    const int32_t last = m_series->frameCount();
    const int sliceMs = std::max(m_sliceMs, 0);
    // Paced, the window takes every frame before the next is measured; otherwise a few chunks may wait.
    const std::size_t limit = sliceMs == 0 ? 1 : 4;
    const int32_t batchFrames = sliceMs == 0 ? 1 : kBatchFrames;
    // One core stays with the window, so that it answers at once however long the run.
    const int workers = std::max(1, frame::defaultWorkerCount() - 1);
    Job& job = *m_job;
    try {
        job.thread = std::thread([this, &job, last, sliceMs, limit, batchFrames, workers, gateA = gates.gateA,
                                  gateB = gates.gateB, dbSlotA, dbSlotB] {
            // The workers this thread starts inherit its priority: the window comes first.
            platform::lowerToBackgroundPriority();
            Job::Chunk chunk;
            bool outOfMemory = false;
            QElapsedTimer sinceHandOver;
            sinceHandOver.start();
            frame::RemeasureOutcome outcome = frame::remeasureFramesInOrder<std::vector<Measured>>(
                *job.recording, 1, last, gateA, gateB, workers, batchFrames,
                [&job, gateA = gateA.has_value(), gateB = gateB.has_value(), dbSlotA,
                 dbSlotB](const frame::FrameView&, const frame::Remeasured& measured,
                          std::vector<Measured>& batch) {
                    Measured m;
                    if (gateA)
                        m.amplitudeA = frame::shownAmplitude(measured, frame::PanelRow::GateAAmplitude);
                    if (gateB)
                        m.amplitudeB = frame::shownAmplitude(measured, frame::PanelRow::GateBAmplitude);
                    if (dbSlotA) m.dbA = decibelsShown(measured.readings[*dbSlotA].text);
                    if (dbSlotB) m.dbB = decibelsShown(measured.readings[*dbSlotB].text);
                    batch.push_back(m);
                    // A cancel stops a worker at the frame it is on, not at its batch's end.
                    std::lock_guard lock(job.mutex);
                    return !job.stop;
                },
                [&](const std::vector<Measured>& batch) {
                    try {
                        chunk.frames.insert(chunk.frames.end(), batch.begin(), batch.end());
                    } catch (const std::bad_alloc&) {
                        // An exception may not leave the ordered run (its workers would not be joined).
                        outOfMemory = true;
                        return false;
                    }
                    if (sinceHandOver.elapsed() < sliceMs) {
                        std::lock_guard lock(job.mutex);
                        return !job.stop;
                    }
                    const auto measuredSoFar = static_cast<int32_t>(chunk.frames.size());
                    Job::Chunk next{chunk.first + measuredSoFar, {}};
                    const bool more = job.handOver(this, std::exchange(chunk, std::move(next)), limit);
                    sinceHandOver.restart();
                    return more;
                },
                &job.failure,
                // The amplitudes and the dB-to-reference readings; no other text, no caret.
                frame::RemeasureOptions{.panelRows = false,
                                        .readingSlots =
                                            (dbSlotA ? 1U << *dbSlotA : 0U) | (dbSlotB ? 1U << *dbSlotB : 0U),
                                        .amplitudes = true,
                                        .carets = false});
            std::lock_guard lock(job.mutex);
            if (outOfMemory) {
                // Nothing trustworthy to show: the recorded values stay, and the line says why.
                outcome = {frame::RemeasureEnd::LibraryMissing, 1};
                job.failure = "Not enough memory to re-measure every frame.";
                chunk.frames.clear();
            }
            if (!chunk.frames.empty()) job.pending.push_back(std::move(chunk));
            job.outcome = outcome;
            job.done = true;
            job.wakeUp(this);
        });
    } catch (const std::system_error& e) {
        forget();
        error = std::string("Could not start the re-measure: ") + e.what();
        return false;
    }
    emit progress(0, frameCount());
    return true;
}

void RemeasureRunner::takeMeasured() {
    if (!m_job) return;
    std::deque<Job::Chunk> chunks;
    bool done = false;
    {
        std::lock_guard lock(m_job->mutex);
        chunks.swap(m_job->pending);
        done = m_job->done;
        m_job->wakeUpPosted = false;
    }
    m_job->taken.notify_all();
    OverviewSeries& series = *m_series;
    RemeasuredSeries& result = *m_result;
    for (const Job::Chunk& chunk : chunks) {
        int32_t f = chunk.first;
        for (const Measured& m : chunk.frames) {
            if (f > series.frameCount()) break;
            series.set(f, m_gates.gateA ? m.amplitudeA : series.amplitude(Gate::A, f),
                       m_gates.gateB ? m.amplitudeB : series.amplitude(Gate::B, f), false);
            const auto i = static_cast<std::size_t>(f - 1);
            if (!result.dbToReferenceA.empty()) result.dbToReferenceA[i] = m.dbA;
            if (!result.dbToReferenceB.empty()) result.dbToReferenceB[i] = m.dbB;
            ++f;
        }
        m_next = std::max(m_next, f);
    }
    if (!done) {
        emit progress(measuredFrames(), series.frameCount());
        return;
    }
    if (m_job->thread.joinable()) m_job->thread.join();
    const frame::RemeasureOutcome outcome = m_job->outcome;
    switch (outcome.end) {
    case frame::RemeasureEnd::Done:
        m_next = series.frameCount() + 1;
        finish(RemeasuredSeries::End::Done, 0);
        return;
    case frame::RemeasureEnd::Stopped:
        finish(RemeasuredSeries::End::Cancelled, m_next);
        return;
    case frame::RemeasureEnd::CutShort:
        finish(RemeasuredSeries::End::CutShort, outcome.stoppedAt);
        return;
    case frame::RemeasureEnd::LibraryMissing:
        m_result->failure = m_job->failure;
        finish(RemeasuredSeries::End::LibraryMissing, outcome.stoppedAt);
        return;
    }
}

void RemeasureRunner::cancel() {
    if (!running()) return;
    stopWorkers();
    // What the workers handed over before they stopped is kept; the run ends after it. A run that
    // ended on its own just before keeps its own end.
    {
        std::lock_guard lock(m_job->mutex);
        if (!m_job->done) m_job->outcome = {frame::RemeasureEnd::Stopped, 0};
        m_job->done = true;
    }
    takeMeasured();
}

void RemeasureRunner::stopWorkers() {
    if (!m_job) return;
    {
        std::lock_guard lock(m_job->mutex);
        m_job->stop = true;
    }
    m_job->taken.notify_all();
    if (m_job->thread.joinable()) m_job->thread.join();
}

void RemeasureRunner::finish(RemeasuredSeries::End end, int32_t stoppedAt) {
    OverviewSeries& series = *m_series;
    // Frames not reached show nothing for the moved gates rather than a recorded value
    // that would pass for a re-measured one.
    if (end != RemeasuredSeries::End::Done)
        for (int32_t f = std::max(stoppedAt, 1); f <= series.frameCount(); ++f)
            series.set(f, m_gates.gateA ? std::nullopt : series.amplitude(Gate::A, f),
                       m_gates.gateB ? std::nullopt : series.amplitude(Gate::B, f), false);
    m_result->series = std::move(m_series);
    m_result->gates = m_gates;
    m_result->end = end;
    m_result->stoppedAt = end == RemeasuredSeries::End::Done ? 0 : stoppedAt;
    std::shared_ptr<const RemeasuredSeries> result = std::move(m_result);
    forget();
    emit progress(result->stoppedAt == 0 ? result->series->frameCount() : result->stoppedAt - 1,
                  result->series->frameCount());
    emit finished(result);
}

void RemeasureRunner::abandon() {
    stopWorkers();
    forget();
}

void RemeasureRunner::forget() {
    m_job.reset();
    m_series.reset();
    m_result.reset();
    m_next = 1;
}

} // namespace pelix::overview
