#include "player/recording/open_recording.h"

#include "player/recording/frame_timing.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

namespace pelix::recording {

OpenOutcome OpenRecording::open(const std::string& path, FlagScan flagScan) {
    OpenOutcome out;
    out.path = path;
    std::unique_ptr<OpenRecording> rec(new OpenRecording);
    rec->m_path = path;
    std::string error;
    if (!rec->m_file.open(path, error)) {
        out.status = OpenStatus::CannotOpen;
        out.message = error;
        return out;
    }
    if (rec->m_file.readAt(0, rec->m_raw.data(), rec->m_raw.size()) != rec->m_raw.size()) {
        out.status = OpenStatus::NotCorrect;
        out.message = kMsgNotCorrect;
        return out;
    }
    rec->m_header = decodeRecordingHeader(rec->m_raw.data());
    if (!rec->m_header.magicMatches()) {
        out.status = OpenStatus::NotCorrect;
        out.message = kMsgNotCorrect;
        return out;
    }
    if (rec->m_header.Version < kOldestVersion) {
        out.status = OpenStatus::NotCompatible;
        out.message = kMsgNotCompatible;
        return out;
    }
    rec->m_headerSize = rec->m_header.headerSize();
    rec->m_derived = deriveSetup(rec->m_header);

    const int64_t frames = frameCountFor(rec->m_file.length(), rec->m_headerSize, rec->m_header.isEnvelope());
    if (frames <= 0) {
        out.status = OpenStatus::NoFrames;
        out.message = kMsgNoFrames;
        return out;
    }
    rec->m_frameCount = static_cast<int32_t>(std::min<int64_t>(frames, std::numeric_limits<int32_t>::max()));
    rec->m_totalSeconds = static_cast<int32_t>(totalSecondsFor(rec->m_frameCount, rec->framesPerSecond()));
    if (flagScan == FlagScan::Build) rec->buildFlagIndex();
    rec->m_position = rec->recordOffset(1);

    out.status = OpenStatus::Opened;
    out.recording = std::move(rec);
    return out;
}

void OpenRecording::buildFlagIndex() {
    m_flags = FlagIndex(m_header.FlagCount);
    // The scan stops once the recorded number of flags is found; a count
    // larger than the flagged frames leaves the rest of the index at 0. The
    // records are read in large blocks: one read per frame would cost a system
    // call per 2 KiB and make opening a long recording slow.
    constexpr int64_t kFramesPerBlock = 128;
    const int64_t stride = frameStride();
    // No larger than the recording: a short one is opened without clearing a quarter mebibyte.
    std::vector<uint8_t> block(
        static_cast<std::size_t>(stride * std::clamp<int64_t>(m_frameCount, 1, kFramesPerBlock)));
    for (int64_t first = 1; !m_flags.full() && first <= m_frameCount;) {
        // A hole of a sparse file reads as zeros, so no frame in it is flagged:
        // the scan goes on where the data does.
        const int64_t start = recordOffset(static_cast<int32_t>(first));
        const int64_t data = m_file.nextDataAt(start);
        if (data < 0) return;
        if (data - start >= stride) {
            first += (data - start) / stride;
            continue;
        }
        const int64_t frames = std::min<int64_t>(kFramesPerBlock, m_frameCount - first + 1);
        // Up to the last flag word needed; the file may end (or shrink) inside the block.
        const auto wanted = static_cast<std::size_t>((frames - 1) * stride + 4);
        const std::size_t got =
            m_file.readAt(recordOffset(static_cast<int32_t>(first)), block.data(), wanted);
        for (int64_t i = 0; i < frames && !m_flags.full(); ++i) {
            const auto at = static_cast<std::size_t>(i * stride);
            if (at + 4 > got) return; // shrank under us
            if (frameFlagOf(block.data() + at) != 0) m_flags.add(static_cast<int32_t>(first + i));
        }
        first += frames;
    }
}

int64_t OpenRecording::recordOffset(int32_t frame, bool second) const {
    // A plain recording has no second record: `second` names the frame's only one.
    const int64_t pair = second && m_header.isEnvelope() ? static_cast<int64_t>(kFrameRecordBytes) : 0;
    return m_headerSize + (static_cast<int64_t>(frame) - 1) * frameStride() + pair;
}

int64_t OpenRecording::timeIndex(int32_t frame) const {
    return timeIndexOf(frame, framesPerSecond());
}

std::size_t OpenRecording::readFrameHeader(FrameHeaderBytes& buffer) {
    const std::size_t n = m_file.readAt(m_position, buffer.data(), buffer.size());
    m_position += static_cast<int64_t>(n);
    m_lastShort = n < buffer.size();
    if (m_lastShort) m_position = m_position + static_cast<int64_t>(buffer.size() - n);
    return n;
}

SampleRead OpenRecording::readSampleBlock(DecodedTrace& trace) {
    if (m_lastShort) return SampleRead::SkippedAfterShortHeader;
    const std::size_t n = m_file.readAt(m_position, m_samples.data(), m_samples.size());
    m_position += static_cast<int64_t>(m_samples.size());
    if (n < m_samples.size()) {
        m_lastShort = true;
        return SampleRead::Short;
    }
    return composeSamples(m_header.Rectification, m_samples.data(), trace) ? SampleRead::Decoded
                                                                           : SampleRead::UnknownRectification;
}

} // namespace pelix::recording
