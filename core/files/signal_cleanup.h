// What a signal that ends the program must not leave behind: the temporary
// files and folders of outputs being written. The names are kept in a fixed
// table of plain C strings, filled before writing starts, so that the handler
// for SIGINT, SIGTERM and SIGHUP does nothing but unlink and rmdir (both safe
// inside a signal handler) and then lets the signal end the program as it
// would have without the handler.
#pragma once

#include <string>

namespace pelix::files {

enum class CleanupKind { File, Folder };

// Installs the handler for SIGINT, SIGTERM and SIGHUP; a signal the program
// was started with ignored (nohup) stays ignored. Safe to call more than once.
void removeTemporariesOnSignals();

// Holds one name in the table while it lives. Files are removed before
// folders, so a folder emptied by the handler goes too. When the table is
// full the name is not held (armed() is false) and the output is written all
// the same; the table has room for far more outputs than a program opens.
class CleanupOnSignal {
  public:
    CleanupOnSignal() = default;
    CleanupOnSignal(const std::string& path, CleanupKind kind);
    ~CleanupOnSignal();
    CleanupOnSignal(const CleanupOnSignal&) = delete;
    CleanupOnSignal& operator=(const CleanupOnSignal&) = delete;
    CleanupOnSignal(CleanupOnSignal&& other) noexcept;
    CleanupOnSignal& operator=(CleanupOnSignal&& other) noexcept;

    bool armed() const { return m_slot >= 0; }
    // Forgets the name (the file became the output, or is gone).
    void release();

  private:
    int m_slot = -1;
};

// Runs what the handler runs, without the signal: for tests.
void removeRegisteredTemporariesNow();

} // namespace pelix::files
