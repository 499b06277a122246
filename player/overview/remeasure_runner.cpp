#include "player/overview/remeasure_runner.h"

#include "core/evaluation/reading_number.h"
#include "core/frame/gate_remeasure.h"
#include "core/frame/remeasure_frames.h"
#include "core/indications/gate_readings.h"
#include "core/recording/open_recording.h"
#include "platform/path_bytes.h"

#include <QElapsedTimer>

#include <charconv>
#include <cmath>
#include <limits>
#include <new>

namespace pelix::overview {

namespace {

constexpr float kNoReading = std::numeric_limits<float>::quiet_NaN();

// The dB a reading text shows ("12.5dB"); NaN for "-----dB" or a reading of another kind.
float decibelsShown(const std::string& text) {
    const evaluation::ReadingNumber n = evaluation::readingNumber(text);
    const std::string_view digits = n.number();
    if (n.unit != "dB" || digits.empty()) return kNoReading;
    double value = 0.0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error != std::errc() || end != digits.data() + digits.size() || !std::isfinite(value))
        return kNoReading;
    return static_cast<float>(value);
}

} // namespace

RemeasureRunner::RemeasureRunner(QObject* parent) : QObject(parent) {
    qRegisterMetaType<std::shared_ptr<const RemeasuredSeries>>();
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &RemeasureRunner::step);
}

RemeasureRunner::~RemeasureRunner() = default;

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
    try {
        m_series = std::make_shared<OverviewSeries>(*recorded);
        m_result = std::make_shared<RemeasuredSeries>();
        const auto frames = static_cast<std::size_t>(recorded->frameCount());
        const recording::RecordingHeader& setup = opened.recording->header();
        m_dbSlotA = gates.gateA
                        ? indications::readingSlot(setup, Gate::A, indications::GateQuantity::DbToReference)
                        : std::nullopt;
        m_dbSlotB = gates.gateB
                        ? indications::readingSlot(setup, Gate::B, indications::GateQuantity::DbToReference)
                        : std::nullopt;
        if (m_dbSlotA) m_result->dbToReferenceA.assign(frames, kNoReading);
        if (m_dbSlotB) m_result->dbToReferenceB.assign(frames, kNoReading);
    } catch (const std::bad_alloc&) {
        forget();
        error = "Not enough memory to re-measure every frame.";
        return false;
    }
    m_rec = std::move(opened.recording);
    m_gates = gates;
    m_next = 1;
    m_timer.start();
    emit progress(0, frameCount());
    return true;
}

void RemeasureRunner::step() {
    if (!m_rec || !m_series) return;
    const int32_t last = m_series->frameCount();
    QElapsedTimer slice;
    slice.start();
    OverviewSeries& series = *m_series;
    RemeasuredSeries& result = *m_result;
    const auto keepDb = [this, &result](int32_t frame, const frame::Remeasured& measured) {
        const auto i = static_cast<std::size_t>(frame - 1);
        if (m_dbSlotA) result.dbToReferenceA[i] = decibelsShown(measured.readings[*m_dbSlotA].text);
        if (m_dbSlotB) result.dbToReferenceB[i] = decibelsShown(measured.readings[*m_dbSlotB].text);
    };
    const frame::RemeasureOutcome run = frame::remeasureFrames(
        *m_rec, m_next, last, m_gates.gateA, m_gates.gateB, m_cal,
        [&](const frame::FrameView& view, const frame::Remeasured& measured) {
            const int32_t f = view.frame;
            series.set(f,
                       m_gates.gateA ? frame::shownAmplitude(measured, frame::PanelRow::GateAAmplitude)
                                     : series.amplitude(Gate::A, f),
                       m_gates.gateB ? frame::shownAmplitude(measured, frame::PanelRow::GateBAmplitude)
                                     : series.amplitude(Gate::B, f),
                       false);
            keepDb(f, measured);
            m_next = f + 1;
            return slice.elapsed() < m_sliceMs;
        });
    switch (run.end) {
    case frame::RemeasureEnd::Done:
        m_next = last + 1;
        finish(RemeasuredSeries::End::Done, 0);
        return;
    case frame::RemeasureEnd::Stopped:
        emit progress(measuredFrames(), last);
        return;
    case frame::RemeasureEnd::CutShort:
        finish(RemeasuredSeries::End::CutShort, run.stoppedAt);
        return;
    case frame::RemeasureEnd::LibraryMissing:
        m_result->failure = m_cal.failure();
        finish(RemeasuredSeries::End::LibraryMissing, run.stoppedAt);
        return;
    }
}

void RemeasureRunner::cancel() {
    if (!running()) return;
    finish(RemeasuredSeries::End::Cancelled, m_next);
}

void RemeasureRunner::finish(RemeasuredSeries::End end, int32_t stoppedAt) {
    m_timer.stop();
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
    m_timer.stop();
    forget();
}

void RemeasureRunner::forget() {
    m_rec.reset();
    m_series.reset();
    m_result.reset();
    m_dbSlotA.reset();
    m_dbSlotB.reset();
    m_next = 1;
}

} // namespace pelix::overview
