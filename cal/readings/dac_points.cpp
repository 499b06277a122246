#include "readings/dac_points.h"

#include "layout/record_layout.h"

namespace pelix::cal::readings {

DacPoints::DacPoints(const ReadingsState& state)
    : header_(state.recordingHeader), count_(state.setup.storedPoints),
      usable_(header_ != nullptr && count_ >= 1 && count_ <= kCapacity) {}

DacPoint DacPoints::point(int32_t k) const {
    namespace tp = layout::tcg_point;
    const auto row = static_cast<std::size_t>(k);
    return {layout::readTcgPoint(header_, row, tp::ulHardwareTOF_20ns),
            layout::readTcgPoint(header_, row, tp::ulFinalGain_01dB),
            layout::readTcgPoint(header_, row, tp::ulAmpAtRefGain_01PCT)};
}

} // namespace pelix::cal::readings
