#include "core/indications/count_rule.h"

namespace pelix::indications {

bool CountRule::counts(const AmplitudeSeries& series, int32_t frame) const {
    const std::optional<int32_t> amplitude = series.amplitude(frame);
    if (!amplitude) return false;
    if (m_kind == Kind::Percent) return *amplitude >= m_percent;
    const std::optional<double> dB = series.dbToReference(frame);
    return dB && *dB >= m_dB;
}

} // namespace pelix::indications
