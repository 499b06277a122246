#include "platform/private_libraries.h"

#include <QCoreApplication>
#include <QDir>

namespace pelix::platform {

QStringList privateLibraryCandidates(const QString& name) {
    QStringList candidates;
    if (QCoreApplication::instance()) {
        const QDir programFolder(QCoreApplication::applicationDirPath());
        candidates << programFolder.filePath(name)
                   << QDir::cleanPath(
                          programFolder.filePath(QLatin1String(kPrivateLibraryFolder) + '/' + name));
    }
    candidates << name;
    return candidates;
}

} // namespace pelix::platform
