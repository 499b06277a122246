// An integer array property as the host hands it over: the value exactly as
// written (returned by the read) and its elements decoded once for drawing.
#pragma once

#include "ascanview/interface/export.h"

#include <QVariant>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelix::ascanview {

class ASCANVIEW_API IntegerArray {
  public:
    // Accepts any sequence (QList<qint16>, QList<int>, QVariantList, ...) or a
    // single number (a one-element array). Elements that are not numbers count
    // as 0; values beyond the 32-bit range saturate.
    void assign(const QVariant& value);
    void assign(const std::vector<std::int32_t>& values);

    const QVariant& stored() const { return m_stored; }
    std::size_t size() const { return m_values.size(); }
    bool has(std::int64_t index) const {
        return index >= 0 && static_cast<std::uint64_t>(index) < m_values.size();
    }
    std::int32_t at(std::size_t index) const { return m_values[index]; }
    const std::vector<std::int32_t>& values() const { return m_values; }

  private:
    QVariant m_stored;
    std::vector<std::int32_t> m_values;
};

} // namespace pelix::ascanview
