// Drives a hosted control through its properties and methods by name, the
// way the player talks to the A-scan control. A name the control does not
// have is a programming error and fails loudly: writing it must never
// silently create a dynamic property.
#pragma once

#include "platform/export.h"

#include <QGenericArgument>
#include <QObject>
#include <QVariant>

#include <stdexcept>
#include <string>

namespace pelix::platform {

class PELIX_PLATFORM_API ControlBindingError : public std::logic_error {
  public:
    using std::logic_error::logic_error;
};

// Writes a declared property; throws ControlBindingError for an unknown name
// or a value the property cannot take.
PELIX_PLATFORM_API void setControlProperty(QObject* control, const char* name, const QVariant& value);
// Reads a declared property; throws ControlBindingError for an unknown name.
PELIX_PLATFORM_API QVariant controlProperty(const QObject* control, const char* name);
PELIX_PLATFORM_API bool hasControlProperty(const QObject* control, const char* name);

// Calls an invokable method by name; throws ControlBindingError when the
// control has no such method or the arguments do not fit.
template <typename... Args> void invokeControl(QObject* control, const char* method, Args&&... args) {
    if (!control) throw ControlBindingError(std::string("no control to call ") + method);
    if (!QMetaObject::invokeMethod(control, method, Qt::DirectConnection, std::forward<Args>(args)...))
        throw ControlBindingError(std::string("the control has no method ") + method +
                                  " taking these arguments");
}

// Calls an invokable method by name with arguments converted to the types the
// method declares (an enumeration takes its integer value), and returns its
// result (invalid for a method without one). Throws ControlBindingError when
// no method of that name takes that many arguments or an argument does not fit.
PELIX_PLATFORM_API QVariant callControl(QObject* control, const char* method, const QVariantList& args = {});

} // namespace pelix::platform
