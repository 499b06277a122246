// Builds recordings that look like what the instrument writes while an
// operator scans a welded plate: a corner (back-wall) echo, a flaw echo that
// wanders in and out of gate A, noise, operator flags, the instrument's own
// readings and a complete setup.
#pragma once

#include "core/recording/record_layout.h"
#include "tools/pelix-synth/synth_options.h"
#include "tools/pelix-synth/synth_random.h"

#include <array>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace pelix::synth {

using HeaderRecord = std::array<uint8_t, recording::kRecordingHeaderBytes>;
using FrameRecord = std::array<uint8_t, recording::kFrameRecordBytes>;

class RecordingSynth {
  public:
    explicit RecordingSynth(const SynthOptions& options);

    // The setup record, and the padding that version 7 writes after it.
    HeaderRecord header() const;
    std::size_t paddingBytes() const { return m_options.version == 7 ? 4 : 0; }
    // Records per frame: two for envelope recordings.
    int32_t recordsPerFrame() const {
        return static_cast<int32_t>(recording::recordsPerFrame(m_options.envelope));
    }
    // Record r (0-based) of frame n (1-based); frames must be asked in order.
    FrameRecord nextFrameRecord(int32_t frame, int32_t record);
    bool isFlagged(int32_t frame) const;

    // Writes the whole recording to a stream.
    void write(std::ostream& out);

  private:
    struct Echo {
        double path_mm;
        double amplitude_pct;
    };
    std::vector<Echo> echoesAt(int32_t frame);
    void fillSamples(const std::vector<Echo>& echoes, uint8_t* block);

    SynthOptions m_options;
    SynthRandom m_random;
    std::vector<int32_t> m_flagged;
    std::array<uint8_t, recording::kSampleBlockBytes> m_envelope{};
    // Held readings: the instrument keeps the last value of a gate for a while.
    std::array<int32_t, recording::kReadingSlots> m_held{};
    int32_t m_framesSinceTrigger = 1000;
};

} // namespace pelix::synth
