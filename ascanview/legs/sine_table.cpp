#include "ascanview/legs/sine_table.h"

#include <cmath>
#include <numbers>

namespace pelix::ascanview {

const std::array<std::int32_t, kSineTableLast + 1>& sineTable() {
    static const std::array<std::int32_t, kSineTableLast + 1> table = [] {
        std::array<std::int32_t, kSineTableLast + 1> values{};
        for (int k = 0; k <= kSineTableLast; ++k) {
            const double radians = k * 0.1 * std::numbers::pi / 180.0;
            values[static_cast<std::size_t>(k)] =
                static_cast<std::int32_t>(std::lround(kSineOne * std::sin(radians)));
        }
        values[kSineTableLast] = kSineOne;
        return values;
    }();
    return table;
}

} // namespace pelix::ascanview
