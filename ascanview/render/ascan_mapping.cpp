#include "ascanview/render/ascan_mapping.h"

#include "ascanview/render/checked_math.h"

namespace pelix::ascanview {

std::optional<std::int32_t> AscanMapping::threshold(double y) const {
    if (height == 0.0) return std::nullopt;
    const double percent = rf ? (height / 2.0 - y) / height * 200.0 : (height - y) / height * 100.0;
    return roundToLong(percent);
}

} // namespace pelix::ascanview
