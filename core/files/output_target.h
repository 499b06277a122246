// Where an output will land and whether it may land there: the name given is
// followed through symbolic links to the file it stands for, which must not be
// a file being read (the recording, by device and inode) nor anything but a
// regular file (a device, FIFO, socket or folder is never replaced).
#pragma once

#include "core/files/file_identity.h"

#include <optional>
#include <string>
#include <sys/types.h>

namespace pelix::files {

struct OutputTarget {
    std::string path;   // the file the name stands for, links followed
    std::string folder; // its folder: the new file is made there, so the rename stays in one file system
    bool exists = false;
    mode_t mode = 0; // the existing file's permission bits
};

// Resolves `given` (bytes, as the user typed them). Returns an empty text when
// the target may be written, else why not, as "is a FIFO, not a regular file".
std::string resolveOutputTarget(const std::string& given, std::optional<FileIdentity> beingRead,
                                OutputTarget& out);

} // namespace pelix::files
