// Which file on disk a name or an open handle stands for: its device and
// inode. Two names with the same identity are one file (a hard link, a
// symbolic link, a relative and an absolute path all agree).
#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace pelix::files {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

// The file an open descriptor reads; nothing when the descriptor is not open.
std::optional<FileIdentity> identityOfDescriptor(int fd);
// The file a path names, symbolic links followed; nothing when it names none.
std::optional<FileIdentity> identityOfPath(const std::string& path);

} // namespace pelix::files
