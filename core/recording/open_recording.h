// The state of one open recording: the validated setup record, frame count,
// rate, length, flag index, and positioned reads of frame records.
#pragma once

#include "core/recording/decoded_trace.h"
#include "core/recording/derived_setup.h"
#include "core/recording/flag_index.h"
#include "core/recording/frame_header.h"
#include "core/recording/recording_file.h"
#include "core/recording/recording_header.h"

#include <array>
#include <memory>
#include <string>

namespace pelix::recording {

// The system's own texts for a rejected recording.
inline constexpr const char* kMsgNotCorrect = "File format is not correct";
inline constexpr const char* kMsgNotCompatible = "File format is not compatible.";
inline constexpr const char* kMsgNoFrames = "The recording holds no frames.";

enum class OpenStatus {
    Opened,
    CannotOpen,    // missing, unreadable, or not a file (folder, FIFO, device, socket): the message names it
    NotCorrect,    // too short or wrong identification
    NotCompatible, // written by an instrument older than this player understands
    NoFrames,      // a valid setup record but no complete frame
};

class OpenRecording;

struct OpenOutcome {
    OpenStatus status = OpenStatus::CannotOpen;
    std::string message; // empty when opened; names the file only when the file could not be opened
    std::string path;    // the path as given, for messages that must name it
    std::unique_ptr<OpenRecording> recording;
};

enum class SampleRead {
    Decoded,              // a full block, composed into the trace
    UnknownRectification, // a full block consumed, nothing stored
    SkippedAfterShortHeader,
    Short, // the file ended inside the block; the trace is unchanged
};

class OpenRecording {
  public:
    using RawHeader = std::array<uint8_t, kRecordingHeaderBytes>;

    // Skip: no flag index (flags() stays empty until setFlags), for callers that
    // read every frame header themselves or build the index in the background.
    enum class FlagScan { Build, Skip };
    static OpenOutcome open(const std::string& path, FlagScan flagScan = FlagScan::Build);

    const std::string& path() const { return m_path; }
    // The setup record exactly as stored; unchanged while the recording is open.
    const RawHeader& rawHeader() const { return m_raw; }
    const RecordingHeader& header() const { return m_header; }
    const DerivedSetup& derived() const { return m_derived; }

    int32_t HeaderSize() const { return m_headerSize; }
    int32_t FrameCount() const { return m_frameCount; }
    int32_t framesPerSecond() const { return m_header.framesPerSecond(); }
    int32_t TotalSeconds() const { return m_totalSeconds; }
    int32_t FlagCount() const { return m_header.FlagCount; }
    const FlagIndex& flags() const { return m_flags; }
    // False while an index skipped at open has not been handed in.
    bool flagsKnown() const { return m_flagsKnown; }
    // The index built elsewhere (a background scan of this recording).
    void setFlags(FlagIndex flags);

    // Byte offset of frame n's record; `second` picks the second record of an
    // envelope recording's pair.
    int64_t recordOffset(int32_t frame, bool second = false) const;
    // Bytes from one frame's first record to the next frame's.
    int64_t frameStride() const { return recording::frameStride(m_header.isEnvelope()); }
    int64_t timeIndex(int32_t frame) const;

    // Reads at a file position, as the display pipeline does: position, read
    // the frame header, then the sample block right after it.
    void seek(int64_t offset) { m_position = offset; }
    int64_t position() const { return m_position; }
    // Fills what the file holds; bytes past the end keep their previous value.
    std::size_t readFrameHeader(FrameHeaderBytes& buffer);
    SampleRead readSampleBlock(DecodedTrace& trace);
    // True when the last header or sample read came up short against the end of the file.
    bool lastReadShort() const { return m_lastShort; }

    const RecordingFile& file() const { return m_file; }

  private:
    OpenRecording() = default;
    void buildFlagIndex();

    std::string m_path;
    RecordingFile m_file;
    RawHeader m_raw{};
    RecordingHeader m_header;
    DerivedSetup m_derived;
    int32_t m_headerSize = 0;
    int32_t m_frameCount = 0;
    int32_t m_totalSeconds = 0;
    FlagIndex m_flags;
    bool m_flagsKnown = false;
    int64_t m_position = 0;
    bool m_lastShort = false;
    std::array<uint8_t, kSampleBlockBytes> m_samples{};
};

} // namespace pelix::recording
