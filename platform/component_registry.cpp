#include "platform/component_registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>
#include <QWidget>

namespace pelix::platform {

ComponentRegistry& ComponentRegistry::instance() {
    static ComponentRegistry registry;
    return registry;
}

void ComponentRegistry::registerControl(const QString& progId, ControlFactory factory) {
    m_factories.insert(progId, factory);
}

bool ComponentRegistry::isRegistered(const QString& progId) const { return m_factories.contains(progId); }

QWidget* ComponentRegistry::create(const QString& progId, QWidget* parent) {
    m_lastError.clear();
    if (!m_factories.contains(progId)) {
        const QString libraryName = progId.section(QLatin1Char('.'), 0, 0);
        if (libraryName.isEmpty() || libraryName == progId) {
            m_lastError = QStringLiteral("\"%1\" is not a programmatic identifier").arg(progId);
            return nullptr;
        }
        // Next to the program first, then the loader's search path.
        QLibrary library(QDir(QCoreApplication::applicationDirPath()).filePath(libraryName));
        library.setLoadHints(QLibrary::ExportExternalSymbolsHint);
        if (!library.load()) {
            QLibrary fallback(libraryName);
            if (!fallback.load()) {
                m_lastError = QStringLiteral("Cannot load the library \"%1\" for \"%2\": %3")
                                  .arg(libraryName, progId, fallback.errorString());
                return nullptr;
            }
        }
        if (!m_factories.contains(progId)) {
            m_lastError = QStringLiteral("The library \"%1\" does not provide \"%2\"").arg(libraryName, progId);
            return nullptr;
        }
    }
    return m_factories.value(progId)(parent);
}

ControlRegistration::ControlRegistration(const char* progId, ControlFactory factory) {
    ComponentRegistry::instance().registerControl(QString::fromLatin1(progId), factory);
}

} // namespace pelix::platform
