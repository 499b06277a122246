// A recording opened read-only. Reads are positioned (pread), so a file much
// larger than memory costs nothing to open and a file that shrinks under us
// gives short reads, never a fault.
#pragma once

#include "core/files/file_identity.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace pelix::recording {

class RecordingFile {
  public:
    RecordingFile() = default;
    ~RecordingFile();
    RecordingFile(RecordingFile&& other) noexcept;
    RecordingFile& operator=(RecordingFile&& other) noexcept;
    RecordingFile(const RecordingFile&) = delete;
    RecordingFile& operator=(const RecordingFile&) = delete;

    // Opens `path` for reading only. On failure returns false and says why in `error`.
    bool open(const std::string& path, std::string& error);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    // Which file on disk is being read (nothing when closed): an output must never replace it.
    std::optional<files::FileIdentity> identity() const { return files::identityOfDescriptor(m_fd); }
    // A second handle on the same open file, for a reader that must outlive
    // this one (closed when this is not open or the system refuses).
    RecordingFile duplicate() const;

    // Current length of the file (it may change while open); -1 when unknown.
    int64_t length() const;
    // Reads up to `count` bytes at `offset`; returns how many were read (0 at
    // or past the end, or on a read error).
    std::size_t readAt(int64_t offset, void* buffer, std::size_t count) const;
    // Where the file next holds data at or after `offset`: a sparse file's
    // holes read as zero bytes and need not be read. -1 when only holes
    // follow; `offset` itself when the system cannot tell.
    int64_t nextDataAt(int64_t offset) const;

  private:
    int m_fd = -1;
};

} // namespace pelix::recording
