#include "readings/dac_points.h"

#include "readings/header_words.h"

namespace pelix::cal::readings {

namespace {
constexpr std::size_t kFirstPoint = 228;
constexpr std::size_t kPointBytes = 28;
} // namespace

DacPoints::DacPoints(const ReadingsState& state)
    : header_(state.recordingHeader), count_(state.setup.storedPoints),
      usable_(header_ != nullptr && count_ >= 1 && count_ <= kCapacity) {}

DacPoint DacPoints::point(int32_t k) const {
    const std::size_t at = kFirstPoint + kPointBytes * static_cast<std::size_t>(k);
    return {bigEndianWord(header_, at + 12), bigEndianWord(header_, at + 20),
            bigEndianWord(header_, at + 24)};
}

} // namespace pelix::cal::readings
