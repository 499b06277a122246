#include "core/frame/lean_remeasure.h"

#include "core/evaluation/dgs_readings.h"
#include "core/evaluation/recorded_readings.h"
#include "core/recording/open_recording.h"

#include <algorithm>
#include <cstring>

namespace pelix::frame {

namespace {

// About 256 KiB a read: few system calls, and a block stays in the processor's cache.
constexpr int64_t kBlockBytes = 256 * 1024;

} // namespace

FrameRemeasurer::FrameRemeasurer(const recording::OpenRecording& recording,
                                 const std::optional<DraggedGate>& gateA,
                                 const std::optional<DraggedGate>& gateB, const RemeasureOptions& options)
    : m_recording(recording), m_file(recording.file().duplicate()), m_gateA(gateA), m_gateB(gateB),
      m_options(options) {
    const recording::RecordingHeader& setup = recording.header();
    m_view.setup = &setup;
    m_view.derived = &recording.derived();
    m_view.rawSetup = &recording.rawHeader();
    m_view.envelope = setup.isEnvelope();
}

void FrameRemeasurer::describe(int32_t frame, const uint8_t* records) {
    const recording::RecordingHeader& setup = m_recording.header();
    FrameView& v = m_view;
    v.frame = frame;
    v.timeIndex = m_recording.timeIndex(frame);
    std::memcpy(v.headerBytes.data(), records, v.headerBytes.size());
    if (v.envelope)
        std::memcpy(v.lastHeaderBytes.data(), records + recording::kFrameRecordBytes,
                    v.lastHeaderBytes.size());
    else
        v.lastHeaderBytes = v.headerBytes;
    const int32_t gateAMode = v.header.GateAMode, gateBMode = v.header.GateBMode;
    const bool firstFrame = v.readings[0].name.empty();
    v.header = recording::decodeFrameHeader(v.headerBytes);
    v.frameGain = v.header.Gain_01dB;
    v.shortRead = false;
    v.ownTraceMissing = false;
    // The re-measure decodes the samples its gates read straight from the block.
    v.traceDecoded = false;
    describeGatePositions(setup, v.header, v.gates);
    // The names change with the gates' modes only.
    if (firstFrame || gateAMode != v.header.GateAMode || gateBMode != v.header.GateBMode)
        for (std::size_t i = 0; i < v.readings.size(); ++i)
            v.readings[i].name = evaluation::readingName(setup.ReadingCodes[i], setup.ReadingModes[i],
                                                         v.header.GateAMode, v.header.GateBMode);
}

RemeasureOutcome FrameRemeasurer::run(int32_t first, int32_t last, const RemeasureVisitor& visit) {
    if (!m_cal.bind()) return {RemeasureEnd::LibraryMissing, first};
    if (!m_dgsSetUp) {
        evaluation::setUpDgsReadings(m_recording.header(), m_cal);
        m_dgsSetUp = true;
    }
    const int64_t stride = m_recording.frameStride();
    const int64_t framesPerBlock = std::max<int64_t>(1, kBlockBytes / stride);
    for (int64_t from = first; from <= last;) {
        const int64_t count = std::min<int64_t>(framesPerBlock, int64_t{last} - from + 1);
        m_block.resize(static_cast<std::size_t>(count * stride));
        // Should the system refuse a handle of our own, the recording's serves (reads at an offset
        // never move it).
        const recording::RecordingFile& file = m_file.isOpen() ? m_file : m_recording.file();
        const std::size_t got =
            file.readAt(m_recording.recordOffset(static_cast<int32_t>(from)), m_block.data(), m_block.size());
        // A frame the file holds only in part would be measured on another frame's samples.
        const int64_t whole = static_cast<int64_t>(got) / stride;
        for (int64_t i = 0; i < whole; ++i) {
            const auto frame = static_cast<int32_t>(from + i);
            describe(frame, m_block.data() + i * stride);
            // Each frame alone: a hidden gate's results are not carried over from the frame before.
            m_evaluation.clearGateData();
            if (!remeasureGatesInto(m_result, m_view,
                                    m_block.data() + i * stride + recording::kFrameHeaderBytes,
                                    movedGatesFor(m_view, m_gateA, m_gateB), m_evaluation, m_cal, m_options))
                return {RemeasureEnd::LibraryMissing, frame};
            if (!visit(m_view, m_result)) return {RemeasureEnd::Stopped, frame};
        }
        if (whole < count) return {RemeasureEnd::CutShort, static_cast<int32_t>(from + whole)};
        from += count;
    }
    return {};
}

} // namespace pelix::frame
