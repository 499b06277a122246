#include "core/files/output_target.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace pelix::files {

namespace {

// As the system itself gives up on a chain of links.
constexpr int kMostLinks = 40;

std::string folderOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "is a folder, not a regular file";
    if (S_ISFIFO(mode)) return "is a FIFO, not a regular file";
    if (S_ISCHR(mode)) return "is a character device, not a regular file";
    if (S_ISBLK(mode)) return "is a block device, not a regular file";
    if (S_ISSOCK(mode)) return "is a socket, not a regular file";
    return "is not a regular file";
}

} // namespace

std::string resolveOutputTarget(const std::string& given, std::optional<FileIdentity> beingRead,
                                OutputTarget& out) {
    out = OutputTarget{};
    if (given.empty()) return "is an empty name";
    std::string path = given;
    struct stat st {};
    bool found = false;
    for (int hop = 0;; ++hop) {
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT) return std::string("cannot be looked at (") + std::strerror(errno) + ")";
            break;
        }
        if (!S_ISLNK(st.st_mode)) {
            found = true;
            break;
        }
        if (hop == kMostLinks) return "is a chain of too many symbolic links";
        std::vector<char> link(static_cast<std::size_t>(std::max<off_t>(st.st_size, 0)) + PATH_MAX);
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size() - 1);
        if (n < 0) return std::string("cannot be looked at (") + std::strerror(errno) + ")";
        const std::string next(link.data(), static_cast<std::size_t>(n));
        // A relative link is relative to the folder the link lives in.
        path = (next.starts_with('/') || path.find('/') == std::string::npos) ? next
                                                                              : folderOf(path) + "/" + next;
    }
    if (found) {
        const FileIdentity id{st.st_dev, st.st_ino};
        if (beingRead == id) return "is the recording being read";
        if (!S_ISREG(st.st_mode)) return kindOf(st.st_mode);
        // A file its owner made read-only (evidence kept, say) is not replaced behind the owner's back.
        if (::access(path.c_str(), W_OK) != 0 && (errno == EACCES || errno == EROFS))
            return errno == EROFS ? "is on a read-only file system" : "is read-only";
        out.exists = true;
        out.mode = st.st_mode & 07777;
    } else if (path.ends_with('/')) {
        return "names a folder, not a file";
    }
    out.path = path;
    out.folder = folderOf(path);
    struct stat folder {};
    if (::stat(out.folder.c_str(), &folder) != 0)
        return "cannot be written: its folder " + out.folder + " " +
               (errno == ENOENT ? std::string("does not exist") : std::strerror(errno));
    if (!S_ISDIR(folder.st_mode)) return "cannot be written: " + out.folder + " is not a folder";
    return {};
}

} // namespace pelix::files
