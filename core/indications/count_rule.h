// Which frames count towards an indication: either the gate's amplitude is at
// least a level in percent of screen height, or the frame's dB-to-reference
// reading of that gate is at least a number of dB. A frame without amplitude
// (gate off, frame cut short) never counts, nor, under the dB rule, a frame
// without a dB reading.
#pragma once

#include "core/indications/amplitude_series.h"

#include <cstdint>

namespace pelix::indications {

class CountRule {
  public:
    static CountRule atLeastPercent(int32_t level) { return CountRule(Kind::Percent, level, 0.0); }
    static CountRule atLeastDbToReference(double dB) { return CountRule(Kind::DbToReference, 0, dB); }

    bool byReference() const { return m_kind == Kind::DbToReference; }
    int32_t percent() const { return m_percent; }
    double dB() const { return m_dB; }

    bool counts(const AmplitudeSeries& series, int32_t frame) const;

  private:
    enum class Kind { Percent, DbToReference };
    CountRule(Kind kind, int32_t percent, double dB) : m_kind(kind), m_percent(percent), m_dB(dB) {}
    Kind m_kind;
    int32_t m_percent;
    double m_dB;
};

} // namespace pelix::indications
