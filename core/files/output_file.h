// One output file, written the one safe way: the target is vetted (see
// output_target.h), the new contents go into a temporary file beside it, and
// only a complete file replaces the target, by an atomic rename after fsync.
// Any failure, or destruction without commit(), removes the temporary file and
// leaves an existing target exactly as it was; a signal that ends the program
// removes it too (see signal_cleanup.h).
//
// The writer either writes through write() / descriptor(), or opens
// temporaryPath() itself (an image or video library that wants a name) and
// reports its own failures through fail(). Every text error() gives names the
// target as given and ends in "; nothing written".
#pragma once

#include "core/files/file_identity.h"
#include "core/files/signal_cleanup.h"

#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace pelix::files {

class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Vets `target` (bytes, exactly as given) and makes the temporary file,
    // with the existing target's permissions or a new file's under the umask.
    // `beingRead` is the file that must never be replaced: the open recording.
    bool open(const std::string& target, std::optional<FileIdentity> beingRead = std::nullopt);

    bool isOpen() const { return m_fd >= 0; }
    const std::string& target() const { return m_target; }
    const std::string& temporaryPath() const { return m_temporary; }
    // The temporary file, open for writing; owned here.
    int descriptor() const { return m_fd; }

    // Appends all of `bytes`; false (and the output failed) when the system refuses any of them.
    bool write(std::string_view bytes);
    // Starts writing to the disk what the file holds so far, without waiting for it. A long
    // output that calls this as it grows leaves commit's fsync little to wait for, instead of
    // every byte at the end. The page the writer is still filling is left for later.
    void startWriteback();
    // The writer's own step failed: `why` becomes part of error(), the temporary file goes.
    void fail(const std::string& why);
    // fsync, close, rename over the target, fsync the folder. False when the
    // output failed now or before; the target then is as it was.
    bool commit();
    // Gives up: the temporary file goes, the target stays as it was.
    void discard();

    bool failed() const { return !m_error.empty(); }
    const std::string& error() const { return m_error; }

  private:
    void failWithErrno(const char* step);

    std::string m_target;    // as given, for messages
    std::string m_path;      // the resolved target the rename replaces
    std::string m_folder;    // the resolved target's folder
    std::string m_temporary; // beside m_path
    std::optional<FileIdentity> m_beingRead;
    int m_fd = -1;
    off_t m_writebackFrom = 0; // where the next startWriteback() begins
    CleanupOnSignal m_cleanup;
    std::string m_error;
};

} // namespace pelix::files
