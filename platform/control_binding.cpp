#include "platform/control_binding.h"

#include <QMetaProperty>

namespace pelix::platform {

namespace {
QMetaProperty declaredProperty(const QObject* control, const char* name) {
    if (!control) throw ControlBindingError(std::string("no control for property ") + name);
    const QMetaObject* meta = control->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        throw ControlBindingError(std::string(meta->className()) + " has no property " + name);
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

} // namespace pelix::platform
