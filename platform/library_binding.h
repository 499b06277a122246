// Binds a shared library by name at run time and resolves its exports by name
// on first use. The calculation library is bound once for the whole process,
// so the player and the A-scan control share its module-wide state. A missing
// library or export is reported with a clear text, never by a crash.
#pragma once

#include "platform/export.h"

#include <QHash>
#include <QString>

#include <memory>

class QLibrary;

namespace pelix::platform {

class PELIX_PLATFORM_API LibraryBinding {
  public:
    // `name` without prefix or suffix ("Pelix_Cal"); looked for next to the
    // program first, then on the loader's search path.
    explicit LibraryBinding(QString name);
    ~LibraryBinding();
    LibraryBinding(const LibraryBinding&) = delete;
    LibraryBinding& operator=(const LibraryBinding&) = delete;

    // The one binding of the calculation library.
    static LibraryBinding& pelixCal();

    const QString& name() const { return m_name; }
    // Loads the library on first use; false when it cannot be loaded (see lastError()).
    bool load();
    // The address of an export, nullptr when the library or the export is
    // missing; lastError() then says which.
    void* symbol(const char* exportName);
    template <typename Function> Function resolve(const char* exportName) {
        return reinterpret_cast<Function>(symbol(exportName));
    }
    // As resolve(), and shows the failure once per export through the message service.
    template <typename Function> Function require(const char* exportName) {
        auto function = resolve<Function>(exportName);
        if (!function) reportOnce(exportName);
        return function;
    }

    QString lastError() const { return m_lastError; }

  private:
    void reportOnce(const char* exportName);

    QString m_name;
    std::unique_ptr<QLibrary> m_library;
    bool m_loadTried = false;
    bool m_loaded = false;
    QHash<QByteArray, void*> m_symbols;
    QHash<QByteArray, bool> m_reported;
    QString m_lastError;
};

} // namespace pelix::platform
