// Creates hostable controls by programmatic identifier ("Library.Class").
// A library registers its controls when it is loaded; asking for an identifier
// whose library is not loaded yet loads that library by name first.
#pragma once

#include "platform/export.h"

#include <QHash>
#include <QString>

class QWidget;

namespace pelix::platform {

using ControlFactory = QWidget* (*)(QWidget* parent);

class PELIX_PLATFORM_API ComponentRegistry {
public:
    static ComponentRegistry& instance();

    void registerControl(const QString& progId, ControlFactory factory);
    bool isRegistered(const QString& progId) const;

    // nullptr when the identifier is unknown and its library cannot be loaded;
    // lastError() then says why.
    QWidget* create(const QString& progId, QWidget* parent = nullptr);
    QString lastError() const { return m_lastError; }

private:
    QHash<QString, ControlFactory> m_factories;
    QString m_lastError;
};

// Registers a factory at load time of the library that defines it.
struct PELIX_PLATFORM_API ControlRegistration {
    ControlRegistration(const char* progId, ControlFactory factory);
};

} // namespace pelix::platform
