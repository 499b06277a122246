#include "core/recording/open_recording.h"

#include "core/recording/flag_scan.h"
#include "core/recording/frame_header_scan.h"
#include "core/recording/frame_timing.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

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
    m_flags = scanFlagIndex(m_file, frameRecordLayout(*this), m_header.FlagCount);
    m_flagsKnown = true;
}

void OpenRecording::setFlags(FlagIndex flags) {
    m_flags = std::move(flags);
    m_flagsKnown = true;
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
