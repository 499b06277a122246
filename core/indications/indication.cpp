#include "core/indications/indication.h"

#include <algorithm>
#include <cmath>

namespace pelix::indications {

DropLength dropLength(const Indication& indication, int32_t framesPerSecond,
                      std::optional<double> scanSpeedMmPerSecond) {
    DropLength length;
    length.frames = indication.dropLast - indication.dropFirst + 1;
    if (framesPerSecond > 0) length.seconds = static_cast<double>(length.frames) / framesPerSecond;
    if (scanSpeedMmPerSecond && std::isfinite(*scanSpeedMmPerSecond) && *scanSpeedMmPerSecond > 0.0)
        length.millimetres = length.seconds * *scanSpeedMmPerSecond;
    return length;
}

int64_t dropFloor(int32_t peak, double dropDb) {
    if (!(dropDb >= 0.0)) dropDb = 0.0;
    dropDb = std::min(dropDb, kLargestDropDb);
    const double ratio = std::pow(10.0, dropDb / 20.0);
    const auto keeps = [peak, ratio](int64_t amplitude) {
        return static_cast<double>(amplitude) * ratio >= peak;
    };
    // The quotient lands within a step of the answer; the product decides.
    auto floor = static_cast<int64_t>(std::ceil(static_cast<double>(peak) / ratio));
    while (keeps(floor - 1))
        --floor;
    while (!keeps(floor))
        ++floor;
    return floor;
}

} // namespace pelix::indications
