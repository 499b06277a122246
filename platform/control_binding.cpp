#include "platform/control_binding.h"

#include <QMetaMethod>
#include <QMetaProperty>

#include <array>

namespace pelix::platform {

namespace {
QMetaProperty declaredProperty(const QObject* control, const char* name) {
    if (!control) throw ControlBindingError(std::string("no control for property ") + name);
    const QMetaObject* meta = control->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0) throw ControlBindingError(std::string(meta->className()) + " has no property " + name);
    return meta->property(index);
}
} // namespace

void setControlProperty(QObject* control, const char* name, const QVariant& value) {
    const QMetaProperty property = declaredProperty(control, name);
    if (!property.isWritable()) throw ControlBindingError(std::string("property ") + name + " is read-only");
    if (!property.write(control, value))
        throw ControlBindingError(std::string("property ") + name + " cannot take a value of type " +
                                  value.typeName());
}

QVariant controlProperty(const QObject* control, const char* name) {
    return declaredProperty(control, name).read(control);
}

bool hasControlProperty(const QObject* control, const char* name) {
    return control && control->metaObject()->indexOfProperty(name) >= 0;
}

QVariant callControl(QObject* control, const char* method, const QVariantList& args) {
    if (!control) throw ControlBindingError(std::string("no control to call ") + method);
    const QMetaObject* meta = control->metaObject();
    QMetaMethod target;
    for (int i = 0; i < meta->methodCount(); ++i) {
        const QMetaMethod candidate = meta->method(i);
        if (candidate.name() == method && candidate.parameterCount() == args.size()) {
            target = candidate;
            break;
        }
    }
    if (!target.isValid() || args.size() > 10)
        throw ControlBindingError(std::string(meta->className()) + " has no method " + method + " taking " +
                                  std::to_string(args.size()) + " arguments");

    std::array<QVariant, 10> values;
    std::array<QByteArray, 10> typeNames; // the arguments below point into these
    std::array<QGenericArgument, 10> generic;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QMetaType type = target.parameterMetaType(static_cast<int>(i));
        QVariant value = args[i];
        if (type.flags().testFlag(QMetaType::IsEnumeration)) {
            bool ok = false;
            const int number = value.toInt(&ok);
            if (!ok)
                throw ControlBindingError(std::string("argument ") + std::to_string(i + 1) + " of " + method +
                                          " is not a number");
            value = QVariant(type, &number);
        } else if (value.metaType() != type && !value.convert(type)) {
            throw ControlBindingError(std::string("argument ") + std::to_string(i + 1) + " of " + method +
                                      " cannot take a value of type " + args[i].typeName());
        }
        const auto slot = static_cast<std::size_t>(i);
        values[slot] = std::move(value);
        typeNames[slot] = target.parameterTypeName(static_cast<int>(i));
        generic[slot] = QGenericArgument(typeNames[slot].constData(), values[slot].constData());
    }
    QVariant result;
    QGenericReturnArgument returned;
    if (target.returnMetaType().isValid() && target.returnMetaType().id() != QMetaType::Void) {
        result = QVariant(target.returnMetaType());
        returned = QGenericReturnArgument(target.typeName(), result.data());
    }
    if (!target.invoke(control, Qt::DirectConnection, returned, generic[0], generic[1], generic[2],
                       generic[3], generic[4], generic[5], generic[6], generic[7], generic[8], generic[9]))
        throw ControlBindingError(std::string("calling ") + method + " failed");
    return result;
}

} // namespace pelix::platform
