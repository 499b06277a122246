// Whether one frame's trace passes through the search box, decided on the raw
// sample block: the limits are turned once into a range of sample pairs and a
// range of sample bytes, so a frame costs a scan of the bytes in the box and
// nothing is decoded that the box does not cover.
//
// The trace tested is AscanPoints as the display builds it from a zeroed
// buffer: RF tests both half-waves of every pair strictly inside the position
// window; the rectified modes test the indexes from the left to the right
// limit, both rounded halves to even and both included, where indexes
// 800..1599 hold the positive half-wave in full-wave mode and stay 0 in the
// single half-wave modes, and index 1600 is always 0. Amplitude limits are
// strict on both sides.
#pragma once

#include "core/search/search_limits.h"

#include <cstdint>

namespace pelix::search {

class FrameTest {
  public:
    FrameTest(int32_t rectification, const SearchLimits& limits);

    // `samples` is one whole 1600-byte sample block.
    bool matches(const uint8_t* samples) const;
    // False when no frame at all can match (an unknown rectification, an
    // empty position or amplitude window): the frames need not be read.
    bool canMatch() const {
        return m_everyFrame || (m_anyAmplitude && (m_pairFirst >= 0 || m_upperFirst >= 0));
    }

  private:
    enum class Kind : uint8_t { None, Rf, Negative, Positive, FullWave };

    Kind m_kind = Kind::None;
    // Sample bytes whose screen percent lies inside the amplitude window form
    // one run (the percent never falls as the byte grows): lo .. lo + span.
    bool m_anyAmplitude = false;
    uint8_t m_lo = 0;
    uint8_t m_span = 0;
    // Sample pairs tested through indexes 0..799, inclusive; -1 when none.
    int m_pairFirst = -1, m_pairLast = -1;
    // Full wave: pairs whose positive half-wave is tested through indexes 800..1599.
    int m_upperFirst = -1, m_upperLast = -1;
    // An index that always holds 0 is in the range and 0 lies inside the window.
    bool m_everyFrame = false;
};

} // namespace pelix::search
