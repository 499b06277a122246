#include "platform/library_binding.h"

#include "platform/private_libraries.h"

#include "platform/message_service.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace pelix::platform {

LibraryBinding::LibraryBinding(QString name) : m_name(std::move(name)) {}

LibraryBinding::~LibraryBinding() = default; // the library stays mapped until the process ends

LibraryBinding& LibraryBinding::pelixCal() {
    static LibraryBinding binding(QStringLiteral("Pelix_Cal"));
    return binding;
}

bool LibraryBinding::load() {
    if (m_loadTried) return m_loaded;
    m_loadTried = true;
    QString reason;
    for (const QString& candidate : privateLibraryCandidates(m_name)) {
        m_library = std::make_unique<QLibrary>(candidate);
        m_loaded = m_library->load();
        if (m_loaded) break;
        reason = m_library->errorString();
    }
    if (!m_loaded)
        m_lastError = QStringLiteral("The library \"%1\" cannot be loaded: %2").arg(m_name, reason);
    return m_loaded;
}

void* LibraryBinding::symbol(const char* exportName) {
    const QByteArray key(exportName);
    if (auto found = m_symbols.constFind(key); found != m_symbols.constEnd()) return found.value();
    if (!load()) return nullptr;
    void* address = reinterpret_cast<void*>(m_library->resolve(exportName));
    if (!address) {
        m_lastError = QStringLiteral("The library \"%1\" has no function \"%2\".")
                          .arg(m_name, QString::fromLatin1(exportName));
        return nullptr; // not cached: a failure is reported again if asked again
    }
    m_symbols.insert(key, address);
    return address;
}

void LibraryBinding::reportOnce(const char* exportName) {
    const QByteArray key(exportName);
    if (m_reported.value(key)) return;
    m_reported.insert(key, true);
    showMessage(m_lastError, MessageIcon::Exclamation);
}

} // namespace pelix::platform
