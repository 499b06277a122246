// The echo dynamic of one gate over a range of frames: per frame the gate's
// amplitude (whole percent of screen height, or none while the gate is off or
// when the file cuts the frame short) and, when the feeder has it, the frame's
// dB-to-reference reading. Filled one frame at a time, in frame order, so a
// header scan or a re-measure can feed it as it goes.
//
// About one byte a frame: amplitudes 0..253 are held as the byte itself, any
// other value (only a damaged or hostile file records one) in a side list, so
// every amplitude comes back exactly as it was given. The dB readings, when
// given, take two bytes a frame in the instrument's 0.1 dB steps.
#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace pelix::indications {

class AmplitudeSeries {
  public:
    explicit AmplitudeSeries(int32_t firstFrame = 1);

    // Room for this many frames, so that a feeder that knows the range allocates once.
    void reserve(int64_t frames);
    // The next frame. Frames past frame number 2147483647 are ignored.
    void append(std::optional<int32_t> amplitude, std::optional<double> dbToReference = std::nullopt);

    int32_t firstFrame() const { return m_first; }
    // firstFrame() - 1 while empty.
    int32_t lastFrame() const { return static_cast<int32_t>(m_first - 1 + size()); }
    int64_t size() const { return static_cast<int64_t>(m_codes.size()); }
    bool contains(int32_t frame) const { return frame >= m_first && frame <= lastFrame(); }

    // None outside the series.
    std::optional<int32_t> amplitude(int32_t frame) const;
    // In dB, as the reading shows it (0.1 dB steps); none outside the series or when the frame has none.
    std::optional<double> dbToReference(int32_t frame) const;

    // From `from` (in the series) frame by frame towards `step` (-1 or +1), the last frame whose
    // amplitude is at least `floor`: the walk stops before the first frame below it, before a
    // frame without amplitude and at the series' end. `from` itself must hold at least `floor`.
    int32_t reachAtLeast(int32_t from, int step, int64_t floor) const;

  private:
    static constexpr uint8_t kNone = 255;
    static constexpr uint8_t kAside = 254; // the amplitude is in m_aside
    static constexpr int16_t kNoDb = INT16_MIN;
    // A frame without amplitude sorts below every amplitude, so a block's
    // minimum tells at once whether a walk may cross the whole block.
    static constexpr int64_t kNoneKey = INT64_MIN;
    static constexpr int kBlockShift = 6;  // 64 frames a block
    static constexpr int kSuperShift = 12; // 4096 frames a super-block
    static constexpr int64_t kBlock = int64_t{1} << kBlockShift;
    static constexpr int64_t kSuper = int64_t{1} << kSuperShift;

    int64_t keyAt(int64_t index) const;
    // Whether the walk from `index` may jump over its whole block (or super-block) in one step.
    bool blockHolds(int64_t index, int shift, int step, int64_t floor) const;

    int32_t m_first;
    std::vector<uint8_t> m_codes;
    std::vector<std::pair<int64_t, int32_t>> m_aside; // (index, amplitude), in index order
    bool m_hasDb = false;            // no frame so far had a dB reading: m_dbTenths is left empty
    std::vector<int16_t> m_dbTenths; // one a frame once the first reading has arrived
    std::vector<int64_t> m_blockMin, m_superMin;
};

} // namespace pelix::indications
