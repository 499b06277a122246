#include "ascanview/legs/fast_trig.h"

#include "ascanview/legs/sine_table.h"

#include <cmath>
#include <limits>

namespace pelix::ascanview {

std::int32_t fastSin4Q(std::int32_t angle) {
    const auto& s = sineTable();
    std::int32_t a = angle % 3600;
    if (a < 0) a += 3600;
    if (a <= 900) return s[static_cast<std::size_t>(a)];
    if (a <= 1800) return s[static_cast<std::size_t>(1800 - a)];
    if (a <= 2700) return -s[static_cast<std::size_t>(a - 1800)];
    return -s[static_cast<std::size_t>(3600 - a)];
}

std::optional<std::int16_t> fastAsin4Q(std::int32_t& sinValue) {
    const auto& s = sineTable();
    bool negative = false;
    if (sinValue < 0) {
        if (sinValue == std::numeric_limits<std::int32_t>::min()) return std::nullopt;
        negative = true;
        sinValue = -sinValue;
    }
    const std::int32_t v = sinValue;
    auto sign = [negative](int index) { return static_cast<std::int16_t>(negative ? -index : index); };

    int lo = 0;
    int hi = kSineTableLast;
    int probe = 0;
    while (true) {
        const std::int32_t entry = s[static_cast<std::size_t>(probe)];
        if (entry == v) return sign(probe);
        if (entry > v)
            hi = probe - 1;
        else
            lo = probe + 1;
        if (hi < lo) break;
        probe = static_cast<int>(std::nearbyint((lo + hi) / 2.0));
    }
    // Past either end of the table there is no neighbour to compare with.
    if (lo > kSineTableLast || hi < 0) return std::nullopt;
    const std::int64_t above = static_cast<std::int64_t>(s[static_cast<std::size_t>(lo)]) - v;
    const std::int64_t below = static_cast<std::int64_t>(v) - s[static_cast<std::size_t>(hi)];
    return sign(above < below ? lo : hi);
}

} // namespace pelix::ascanview
