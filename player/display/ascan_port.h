// The way the display pipeline talks to the A-scan control: properties and
// methods by name only. The control is a hosted component whose class the
// player does not link against; a port over any other object (a test double)
// sees exactly the same sequence of writes.
#pragma once

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
