// The instrument's DAC/TCG points, read from the recording header the player keeps.
#pragma once

#include <cstdint>

#include "readings/readings_state.h"

namespace pelix::cal::readings {

struct DacPoint {
    int64_t time_20ns = 0; // ulHardwareTOF_20ns
    int64_t gain_01dB = 0; // ulFinalGain_01dB
    int64_t amp_01pct = 0; // ulAmpAtRefGain_01PCT
};

class DacPoints {
  public:
    static constexpr int32_t kCapacity = 16;

    explicit DacPoints(const ReadingsState& state);

    // False when there is no header or its count does not describe the table.
    bool usable() const { return usable_; }
    int32_t count() const { return count_; }
    DacPoint point(int32_t k) const; // k in 0..count() - 1
    DacPoint last() const { return point(count_ - 1); }

  private:
    const uint8_t* header_;
    int32_t count_;
    bool usable_;
};

} // namespace pelix::cal::readings
