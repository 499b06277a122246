#include "core/frame/shown_amplitude.h"

#include <cmath>
#include <cstdlib>

namespace pelix::frame {

std::optional<int32_t> shownAmplitude(const Remeasured& result, PanelRow row) {
    const PanelRowView& shown = result.rows[indexOf(row)];
    if (!shown.hasValue) return std::nullopt;
    const double value = std::strtod(shown.value.text.c_str(), nullptr);
    if (!std::isfinite(value) || std::fabs(value) > 1e6) return std::nullopt;
    return static_cast<int32_t>(std::lround(value));
}

} // namespace pelix::frame
