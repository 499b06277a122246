// The way the display pipeline talks to the A-scan control: properties and
// methods by name only. The control is a hosted component whose class the
// player does not link against; a port over any other object (a test double)
// sees exactly the same sequence of writes.
#pragma once

#include "player/display/control_property.h"

#include <QString>
#include <QVariant>

#include <memory>

class QObject;

namespace pelix::player {

class AscanPort {
  public:
    virtual ~AscanPort() = default;

    // `name` must be a string that lives as long as the port (a literal).
    virtual void set(const char* name, const QVariant& value) = 0;
    virtual QVariant get(const char* name) const = 0;
    // The control's Boolean properties (true is -1 in the control's own 16-bit form).
    virtual void setBool(const char* name, bool value) = 0;
    virtual bool getBool(const char* name) const = 0;

    // The same through the property table.
    virtual void set(AscanProperty p, const QVariant& value) { set(nameOf(p), value); }
    virtual QVariant get(AscanProperty p) const { return get(nameOf(p)); }
    void setBool(AscanProperty p, bool value) { setBool(nameOf(p), value); }
    bool getBool(AscanProperty p) const { return getBool(nameOf(p)); }
    // A number written as the property's type holds it (Booleans as the control's -1/0).
    template <typename Number> void write(AscanProperty p, Number value) {
        if (typeOf(p) == ControlType::Boolean)
            setBool(p, value != 0);
        else
            set(p, controlValue(p, value));
    }

    // Indexed writes of a parameter-panel row's caption and value.
    virtual void setParamTitle(int row, const QString& text) = 0;
    virtual void setParamValue(int row, const QString& text) = 0;
    // The control's decimal-separator conversion of a formatted number.
    virtual QString convertDecToCom(const QString& text) = 0;
    virtual void updateAscanGraph() = 0;
};

// A port over a hosted control; unknown names throw platform::ControlBindingError,
// and so does every use of the port when `control` is null.
std::unique_ptr<AscanPort> makeNamedAscanPort(QObject* control);

} // namespace pelix::player
