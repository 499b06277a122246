#include "ascanview/interface/integer_array.h"

#include <QSequentialIterable>

#include <cmath>
#include <limits>

namespace pelix::ascanview {

namespace {

std::int32_t toElement(const QVariant& element) {
    bool ok = false;
    const qlonglong whole = element.toLongLong(&ok);
    if (ok && element.typeId() != QMetaType::Double && element.typeId() != QMetaType::Float) {
        if (whole > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
        if (whole < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
        return static_cast<std::int32_t>(whole);
    }
    const double real = element.toDouble(&ok);
    if (!ok || std::isnan(real)) return 0;
    const double rounded = std::nearbyint(real);
    if (rounded >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (rounded <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(rounded);
}

template <typename T> bool copyList(const QVariant& value, std::vector<std::int32_t>& out) {
    if (value.metaType() != QMetaType::fromType<QList<T>>()) return false;
    const QList<T>& list = *static_cast<const QList<T>*>(value.constData());
    out.resize(static_cast<std::size_t>(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        out[static_cast<std::size_t>(i)] = static_cast<std::int32_t>(list[i]);
    return true;
}

} // namespace

void IntegerArray::assign(const QVariant& value) {
    m_stored = value;
    // The sample array arrives once per frame; the common list types skip the
    // generic iteration.
    if (copyList<qint16>(value, m_values) || copyList<qint32>(value, m_values) ||
        copyList<quint16>(value, m_values) || copyList<qint8>(value, m_values) ||
        copyList<quint8>(value, m_values))
        return;
    m_values.clear();
    if (!value.isValid()) return;
    if (value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray) {
        bool ok = false;
        value.toDouble(&ok);
        if (ok) m_values.push_back(toElement(value));
        return;
    }
    if (value.canConvert<QSequentialIterable>()) {
        const QSequentialIterable iterable = value.value<QSequentialIterable>();
        for (const QVariant& element : iterable)
            m_values.push_back(toElement(element));
        return;
    }
    bool ok = false;
    value.toDouble(&ok);
    if (ok) m_values.push_back(toElement(value));
}

void IntegerArray::assign(const std::vector<std::int32_t>& values) {
    m_values = values;
    m_stored = QVariant::fromValue(QList<qint32>(values.begin(), values.end()));
}

} // namespace pelix::ascanview
