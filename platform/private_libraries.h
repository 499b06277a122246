// Where the program's own shared libraries (the display control and the
// calculation library, loaded by name) are looked for: beside the program in a
// build tree, in the private library folder of an installed program, then on
// the loader's search path.
#pragma once

#include <QString>
#include <QStringList>

namespace pelix::platform {

// The folder, relative to the installed programs, that holds the libraries
// only this program loads (the build names it after the platform's library folder).
#ifdef PELIX_PRIVATE_LIBRARY_FOLDER
inline constexpr const char* kPrivateLibraryFolder = PELIX_PRIVATE_LIBRARY_FOLDER;
#else
inline constexpr const char* kPrivateLibraryFolder = "../lib/pelix-player";
#endif

// The paths to try for a library named without prefix or suffix ("Pelix_Cal"), in order.
QStringList privateLibraryCandidates(const QString& name);

} // namespace pelix::platform
