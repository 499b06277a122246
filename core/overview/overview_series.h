// The recording at a glance: each frame's recorded gate A and gate B echo
// amplitudes (absent while that gate is off) and the frames the operator
// flagged, read from the frame headers alone (for envelope pairs, the first
// record's). About nine bytes a frame, whatever the size of the file.
#pragma once

#include "core/recording/frame_header_scan.h"

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

namespace pelix::overview {

enum class Gate { A, B };

class OverviewSeries {
  public:
    OverviewSeries() = default;
    explicit OverviewSeries(int32_t frameCount);

    // Frames the recording holds; frames the scan could not read count as both gates off.
    int32_t frameCount() const { return m_frameCount; }
    // The recorded amplitude (percent of screen height) of frame n (1-based), none when the gate is off.
    std::optional<int32_t> amplitude(Gate gate, int32_t frame) const;
    const std::vector<int32_t>& flags() const { return m_flags; }
    // The first frame whose header the end of the file cut short (0: every header was read).
    int32_t cutShortAt() const { return m_cutShortAt; }
    bool complete() const { return m_complete; }

    // Filled by the scan.
    void set(int32_t frame, std::optional<int32_t> gateA, std::optional<int32_t> gateB, bool flagged);
    void finish(int32_t cutShortAt) {
        m_cutShortAt = cutShortAt;
        m_complete = true;
    }

  private:
    static constexpr uint8_t kAOn = 1;
    static constexpr uint8_t kBOn = 2;
    int32_t m_frameCount = 0;
    std::vector<int32_t> m_a, m_b;
    std::vector<uint8_t> m_on;
    std::vector<int32_t> m_flags;
    int32_t m_cutShortAt = 0;
    bool m_complete = false;
};

// The recorded amplitude of `gate` in one frame header (kFrameHeaderBytes bytes), none while that gate is
// off: the one reading of GateAAmplitude/GateBAmplitude and the gate-on words that every series shares.
std::optional<int32_t> recordedAmplitude(Gate gate, const uint8_t* header);

// Reads every frame header of the recording laid out as `layout` in `file`.
// A set `cancel` ends the scan early (the series is then not complete).
OverviewSeries scanOverview(const recording::RecordingFile& file, const recording::FrameRecordLayout& layout,
                            const std::atomic<bool>* cancel = nullptr);

} // namespace pelix::overview
