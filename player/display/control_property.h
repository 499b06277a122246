// The A-scan control's properties as the player knows them: one enumeration,
// each member with the control's name for it and its type, so that a write
// names a property once and always hands over a value of the right type.
#pragma once

#include <QString>
#include <QVariant>

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>

namespace pelix::player {

// The control's property types (Boolean is -1/0 in the control's own form).
enum class ControlType : uint8_t { Integer, Long, Single, Double, Boolean, String, IntegerArray };

enum class AscanProperty : uint8_t {
#define PELIX_CONTROL_PROPERTY(name, type) name,
#include "player/display/control_properties.def"
#undef PELIX_CONTROL_PROPERTY
};

struct ControlPropertyInfo {
    const char* name;
    ControlType type;
};

inline constexpr ControlPropertyInfo kAscanProperties[] = {
#define PELIX_CONTROL_PROPERTY(name, type) {#name, ControlType::type},
#include "player/display/control_properties.def"
#undef PELIX_CONTROL_PROPERTY
};

inline constexpr std::size_t kAscanPropertyCount = std::size(kAscanProperties);

constexpr const ControlPropertyInfo& infoOf(AscanProperty p) {
    return kAscanProperties[static_cast<std::size_t>(p)];
}
constexpr const char* nameOf(AscanProperty p) {
    return infoOf(p).name;
}
constexpr ControlType typeOf(AscanProperty p) {
    return infoOf(p).type;
}

// A number as the property's type holds it. Integer and Long values arrive in
// range (the callers saturate where a recording can overflow them).
template <typename Number> QVariant controlValue(AscanProperty p, Number value) {
    static_assert(std::is_arithmetic_v<Number>);
    switch (typeOf(p)) {
    case ControlType::Integer:
        return QVariant::fromValue<qint16>(static_cast<qint16>(value));
    case ControlType::Long:
        return QVariant::fromValue<qint32>(static_cast<qint32>(value));
    case ControlType::Single:
        return QVariant::fromValue<float>(static_cast<float>(value));
    case ControlType::Double:
        return QVariant::fromValue<double>(static_cast<double>(value));
    case ControlType::Boolean:
        return QVariant(value != 0);
    case ControlType::String:
    case ControlType::IntegerArray:
        break;
    }
    return QVariant::fromValue(value);
}

} // namespace pelix::player
